// Identifiers of the grid window demo resources. The grid's own commands must keep the
// numbers of GridCmd* in quill/grid.hpp (the demo checks them when it is compiled).
#pragma once

#define GW_MENU 500
#define GW_CMD_FIND 32401
#define GW_CMD_FIND_NEXT 32402
#define GW_CMD_GOTO 32403
#define GW_CMD_SORT_UP 32404
#define GW_CMD_SORT_DOWN 32405
#define GW_HELLO 9001  /* an application command: reaches the application */
#define GW_EXIT 9002
