/* Identifiers of the calculator's resources: dialogs, their fields, the menu and the
   commands. Shared by orlixcalc.rc and the program, so it stays plain C preprocessor. */
#ifndef ORLIX_RESOURCE_IDS_H
#define ORLIX_RESOURCE_IDS_H

/* Dialogs; their extended dialog data carries the same identifier. */
#define IDD_ABOUT 101
#define IDD_KEYPAD 102

/* Fields of the About box. */
#define IDC_ABOUT_OK 1
#define IDC_ABOUT_TEXT 1001
#define IDC_ABOUT_VERSION 1002

/* Fields of the keypad. */
#define IDC_OFF 2
#define IDC_DISPLAY 1002
#define IDC_HIDDEN_INPUT 1003

/* Menu, its accelerator table and its menu identifier table. */
#define IDR_MAIN_MENU 30001

/* Pop-up items of the menu bar, numbered through the menu identifier table. */
#define IDM_FILE 40001
#define IDM_HELP 40007
#define IDM_DIGITS 40010
#define IDM_ACTIONS 40009

/* Commands: menu items, accelerators and keypad buttons. */
#define IDM_COPY 40004
#define IDM_EXIT 40006
#define IDM_ABOUT 40008
#define IDM_DIGIT_0 40011
#define IDM_DIGIT_1 40012
#define IDM_DIGIT_2 40013
#define IDM_DIGIT_3 40014
#define IDM_DIGIT_4 40015
#define IDM_DIGIT_5 40016
#define IDM_DIGIT_6 40017
#define IDM_DIGIT_7 40018
#define IDM_DIGIT_8 40019
#define IDM_DIGIT_9 40020
#define IDM_POINT 40030
#define IDM_EQUALS 40031
#define IDM_ADD 40032
#define IDM_SUBTRACT 40033
#define IDM_MULTIPLY 40034
#define IDM_DIVIDE 40035
#define IDM_PERCENT 40036
#define IDM_BACKSPACE 40037
#define IDM_CLEAR_ENTRY 40038
#define IDM_CLEAR 40039
#define IDM_MEMORY_ADD 40040
#define IDM_MEMORY_SUBTRACT 40041
#define IDM_MEMORY_CLEAR 40042
#define IDM_MEMORY_RECALL 40043

#endif
