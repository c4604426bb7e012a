#pragma once
// Ids of the icons and bitmaps in velmora.rc. The numbers are kept as other tools and older builds know them.
#define IDI_NOTICE 101
#define IDI_WIZARD 102
#define IDI_STATISTICS 103
#define IDI_LOGO 200

#define IDB_MOVE_DOWN 101
#define IDB_MOVE_UP 102
#define IDB_PANEL_PLAY 111
#define IDB_PANEL_PAUSE 112
#define IDB_PANEL_STOP 113
#define IDB_PANEL_NEXT 114
