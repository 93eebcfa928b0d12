// Identifiers of the grid demo resources.
#pragma once

#define GD_DIALOG 400  /* the dialog with the grid field */
#define GD_FIELD 401
#define GD_LOAD 402
#define GD_DONE 403
#define GD_CLEAR 404
