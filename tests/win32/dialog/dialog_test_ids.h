// Identifiers of the dialog test resources.
#pragma once

#define TD_KEYPAD 500      /* child dialog combined with the root window */
#define TD_DISPLAY 1002
#define TD_INPUT 1003
#define TD_KEY_ONE 40012
#define TD_KEY_PLUS 40032

#define TD_FIELDS 200      /* top-level dialog with every kind of control */
#define TD_EDIT_A 201
#define TD_EDIT_B 202
#define TD_MULTI 203
#define TD_OTHER 204
#define TD_CHECK 205
#define TD_RADIO_1 206
#define TD_RADIO_2 207
#define TD_RADIO_3 208
#define TD_LIST 209
#define TD_DROPDOWN 210
#define TD_COMBO 211
#define TD_PROGRESS 212
#define TD_TRACKBAR 213
#define TD_STATIC 214
#define TD_TREE 215
#define TD_TAB 216
#define TD_RANGED 217
#define TD_MISSING 299

#define TD_PAGE_ONE 301
#define TD_PAGE_TWO 302
#define TD_PAGE_EDIT 311

#define TD_CHILD 250       /* child-style dialog shown inside the root window */
#define TD_MODAL 260       /* pop-up shown modally */
#define TD_MODAL_EDIT 261
#define TD_MODAL_OTHER 262
#define TD_RESIZABLE 270
#define TD_RESIZE_LIST 271
#define TD_RESIZE_BUTTON 272
#define TD_TINY 280
#define TD_RICH 290       /* pop-up holding a rich-edit control */
#define TD_RICH_EDIT 291
#define TD_TREE_MENU 400
#define TD_TREE_LEAF 402
#define TD_IMAGE_BITMAP 600
#define TD_IMAGE_METAFILE 601
