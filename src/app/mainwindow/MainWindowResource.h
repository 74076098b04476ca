// Resource and command ids of the main window and its ribbon.
#pragma once

#define IDD_MAINDLG 232
#define IDI_MAINFRAME 128
#define IDR_MAINTOOLBAR 217
#define IDR_TRAYMENU 233

// Ribbon image strips ("PNG").
#define IDB_RIBBON_LOGO 140
#define IDB_RIBBON_HELP 141
#define IDB_RIBBON_FORMATS 142
#define IDB_RIBBON_FILES 144
#define IDB_RIBBON_STYLES 230

// Popups of the ribbon bar: Options (menu 138) and Style (menu 139).
#define IDR_RIBBON_OPTIONS 138
#define IDR_RIBBON_STYLE 139
#define ID_RIBBON_LOGO 140

// Tabs and groups.
#define IDS_TAB_FILES 25001
#define IDS_GROUP_FILES_MANAGING 25002
#define IDS_TAB_FORMATS 25005
#define IDS_GROUP_SELECT_FORMAT 25006
#define IDS_GROUP_AUDIO_RECORDING 25008
#define IDS_TAB_HELP 25009
#define IDS_GROUP_INFORMATION 25010

// Commands.
#define ID_SUPPORT_LINK 25011
#define ID_UPDATES_LINK 25012
#define ID_SITE_LINK 25013
#define ID_ABOUT 25014
#define ID_DONATE 25015
#define ID_RIBBON_RECORD 25020
#define ID_RECORD 25021
#define ID_STOP 25022
#define ID_PAUSE_CONTINUE 25023
#define ID_DELETE_FILES 25030
#define ID_DELETE_ALL_FILES 25031
#define ID_DELETE_FILES_FROM_DISK 25032
#define ID_RENAME_FILE 25033
#define ID_RIBBON_UNUSED_FILE_IMAGE 25034
#define ID_FILE_INFORMATION 25035
#define ID_FORMAT_FIRST 25100
#define ID_FORMAT_LAST 25108
#define ID_STYLE_BLUE 32801
#define ID_STYLE_BLACK 32802
#define ID_STYLE_AQUA 32803
#define ID_STYLE_SILVER 32804
#define ID_MINIMIZE_TO_TRAY 32810
#define ID_SHOW_HIDE_TRAY 32811
#define ID_EXIT 32812
// An image of the bars' toolbar strip that serves no command.
#define ID_NO_COMMAND_IMAGE 32798

// The question asked when the window closes while recording.
#define IDS_RECORDING_NOT_COMPLETE 23000
// The site link's text parts, put into string 25013.
#define IDS_MAKER_NAME 25016
#define IDS_MAKER_COMPANY 25017
// The Pause item of Stop's popup: its description and tooltip, which the
// command it shares with Continue cannot give.
#define IDS_PAUSE_RECORDING 25024
