/* Identifiers of the window test resources. */
#define DEMO_MENU 500
#define DEMO_TOOLBAR 600
#define CMD_FILE 40001
#define CMD_NEW 40002
#define CMD_CHECKED 40003
#define CMD_COPY 40004
#define CMD_GREYED 40005
#define CMD_EXIT 40006
#define CMD_VIEW 40007
#define CMD_MORE 40008
#define CMD_STATUS 40009
#define CMD_GO 40010
#define CMD_KEYPAD1 40011
#define CMD_DEEP 40020
