// Resource numbers shared by the resource script and the code.
#pragma once

#define IDS_DESCRIPTION 1  // the saver's name in the display settings' list

#define IDI_DOVRA 100
#define IDCUR_HAND 200

#define IDB_BALL 300
#define IDB_EARTH 301
#define IDB_GAS_GIANT 302
#define IDB_RINGED_PLANET 303
#define IDB_PREVIEW 304
#define IDB_MARK_EMPTY 305
#define IDB_MARK_SELECTED 306
#define IDB_FACE_NORMAL 310
#define IDB_FACE_HIGHLIGHT 311
#define IDB_FACE_HIGHLIGHT_SELECT 312
#define IDB_FACE_SELECTED 313
#define IDB_FACE_PRESSED 314
#define IDB_FACE_DISABLE 315
