#define BT_MENU 300
#define BT_CMD_HELLO 301
#define BT_DIALOG 310
#define BT_IMAGE 311
