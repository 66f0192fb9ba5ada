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

// Each picture again at twice its size, for scaled screens: its number + 100.
#define IDB_2X(id) ((id) + 100)
#define IDB_BALL_2X 400
#define IDB_EARTH_2X 401
#define IDB_GAS_GIANT_2X 402
#define IDB_RINGED_PLANET_2X 403
#define IDB_PREVIEW_2X 404
#define IDB_MARK_EMPTY_2X 405
#define IDB_MARK_SELECTED_2X 406
#define IDB_FACE_NORMAL_2X 410
#define IDB_FACE_HIGHLIGHT_2X 411
#define IDB_FACE_HIGHLIGHT_SELECT_2X 412
#define IDB_FACE_SELECTED_2X 413
#define IDB_FACE_PRESSED_2X 414
#define IDB_FACE_DISABLE_2X 415
