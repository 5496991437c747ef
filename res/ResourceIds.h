#pragma once
// Resource and control ids: dialogs, controls, strings, icons and the system-menu command.

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_QUORLIS_DIALOG = 102;
constexpr int IDD_CABLE_PARAMETER = 131;

constexpr int IDR_MAINFRAME = 128;          // the application icon
constexpr int IDR_MAIN_ACCELERATORS = 129;  // the main window's keys
constexpr int IDR_ROW_MENU = 130;           // the main window's context menu

constexpr int IDS_ABOUTBOX = 101;      // "&About Quorlis..."
constexpr int IDP_PARSE_REAL = 61713;  // "Enter a number."

constexpr int IDM_ABOUTBOX = 0x0010;  // system-menu command of the About entry

constexpr int ID_IMPORT_START_FILE = 32771;  // the main window imports the file named at start
// Main window commands that have no button: keys and context-menu items.
constexpr int ID_NEW_LIST = 32772;
constexpr int ID_EDIT_UNDO = 32773;
constexpr int ID_EDIT_REDO = 32774;
constexpr int ID_EDIT_COPY = 32775;
constexpr int ID_EDIT_COPY_ALL = 32776;
constexpr int ID_EDIT_PASTE = 32777;

// Dialog results and standard buttons.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

constexpr int IDC_STATIC = -1;

// Main window.
constexpr int IDC_IMPORT = 1000;
constexpr int IDC_EXPORT = 1003;
constexpr int IDC_CABLE_LIST = 1005;
constexpr int IDC_EDIT_CABLE = 1006;
constexpr int IDC_DELETE_CABLE = 1007;
constexpr int IDC_ADD_CABLE = 1008;

// Cable parameter dialog: one field a column, numbered in the columns' order.
constexpr int IDC_NAME = 1010;
constexpr int IDC_VELOCITY = 1011;
constexpr int IDC_CABLE_LOSS = 1012;
constexpr int IDC_FREQUENCY = 1013;
// The parameter dialog's field for the column at place column (see cable/CableColumns.h): a column
// added after these takes the next id, so it needs no name here.
constexpr int ParameterFieldId(int column) { return IDC_NAME + column; }
