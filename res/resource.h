/* Resource identifiers shared by the resource script and the program. */
#ifndef TRELUN_RESOURCE_H
#define TRELUN_RESOURCE_H

#define IDI_APP                      1

/* Dialogs with numbers; the others are named by text ("IDD_MAIN_NOBMP",
   "IDD_SELECT", "IDD_REMOVE", "IDD_COMPONENT"). */
#define IDD_ABOUT                    114
#define IDD_LOADING                  115
#define IDD_EXTRA_INFO               116

#define IDB_PRINTERS_SMALL           116
#define IDB_PRINTERS_LARGE           117
#define IDB_CHECKMARKS               119
#define IDM_SELECT_CONTEXT           117

/* Main window */
#define IDC_PAGE_FRAME               1003
#define IDC_MAIN_SEPARATOR           1005
#define IDC_EXIT                     1052
#define IDC_UNINSTALL                1080

/* Loading dialog */
#define IDC_LOADING_PROGRESS         1023
#define IDC_LOADING_ICON             1082
#define IDC_LOADING_MESSAGE          1083
#define IDC_LOADING_STATUS           1086

/* Selection page */
#define IDC_PRINTER_LIST             1020
#define IDC_SELECT_PROMPT            1084
#define IDC_SELECT_WARNING           1085

/* Removal page: nine step labels and their icons */
#define IDC_STEP_LABEL_FIRST         1087
#define IDC_STEP_ICON_FIRST          1096
#define STEP_ROW_COUNT               9

/* Context menu of the selection page */
#define IDM_LARGE_ICONS              40004
#define IDM_SMALL_ICONS              40005
#define IDM_LIST                     40006
#define IDM_DETAILS                  40007
#define IDM_REMOVE_PRINTERS          40009
#define IDM_SELECT_ALL               40010
#define IDM_EXTRA_INFO               40012

/* About box */
#define IDC_ABOUT_INFO               1020
#define IDC_ABOUT_LEGAL              1115

/* Component dialog */
#define IDC_COMPONENT_BOTH           1116
#define IDC_COMPONENT_PRINTER        1117
#define IDC_COMPONENT_SCANNER        1118
#define IDC_COMPONENT_MESSAGE        1119

/* Profile inspection dialog */
#define IDC_EXTRA_PROFILE_ONLY       1017
#define IDC_EXTRA_CATEGORY_FIRST     1097
#define IDC_EXTRA_CATEGORY_LAST      1107
#define IDC_EXTRA_DIRECTORIES        1109
#define IDC_EXTRA_LIST               1108

/* System menu item of the main window */
#define IDM_ABOUT                    156

#define IDS_RUN_KEY                  51
#define IDS_INI_INDIRECTION_MODEL    99
#define IDS_TRANSLATION_FENCE        100

#define IDS_NO_ADMIN_RIGHTS          151
#define IDS_SPOOLER_UNSTABLE         152
#define IDS_CREATING_DATABASE        153
#define IDS_MENU_ABOUT               156
#define IDS_NO_SCRIPTS               158
#define IDS_DEFAULT_REMOVED_NONE     159
#define IDS_DEFAULT_REMOVED_NEW      160
#define IDS_CAPTION                  161
#define IDS_BTN_UNINSTALL            162
#define IDS_BTN_CANCEL               163
#define IDS_LOADING_CAPTION          164
#define IDS_ABOUT_CAPTION            165
#define IDS_ABOUT_LEGAL              167
#define IDS_BTN_CLOSE                168
#define IDS_STEP_PROFILE             169
#define IDS_STEP_ADDONS              170
#define IDS_STEP_PRINTERS            171
#define IDS_STEP_DRIVERS             172
#define IDS_STEP_MONITORS            173
#define IDS_STEP_PROCESSORS          174
#define IDS_STEP_SERVICES            175
#define IDS_STEP_REGISTRY            176
#define IDS_STEP_FILES               177
#define IDS_SELECT_PROMPT            178
#define IDS_SELECT_WARNING           179
#define IDS_COL_NAME                 180
#define IDS_COL_DRIVER               181
#define IDS_COL_LOCATION             182
#define IDS_LOCAL                    183
#define IDS_COL_DEFAULT              184
#define IDS_COL_HALVAPRINT           185
#define IDS_COL_PELLED               186
#define IDS_YES                      187
#define IDS_NO                       188
#define IDS_NOT_APPLICABLE           189
#define IDS_ABOUT_VERSION            195
#define IDS_ABOUT_BUILD              196
#define IDS_ABOUT_PLATFORM           197
#define IDS_LOADING_ROW              198
#define IDS_FINISHED                 199
#define IDS_RESTART_QUESTION         200
#define IDS_RESTART_FAILED           201
#define IDS_STOP_QUESTION            202
#define IDS_SPOOLER_NOT_RESPONDING   206
#define IDS_COMPONENT_BOTH           208
#define IDS_COMPONENT_PRINTER        209
#define IDS_COMPONENT_SCANNER        210
#define IDS_SCANNER_UNINSTALL_FAILED 214
#define IDS_ERROR_CAPTION            215
#define IDS_COMPONENT_BOTH_INFO      216
#define IDS_COMPONENT_UNINSTALL      217
#define IDS_COMPONENT_PRINTER_INFO   220
#define IDS_WHATIF_DONE              221
#define IDS_WHATIF_NOT_WRITTEN       222
#define IDS_WHATIF_CAPTION           223
#define IDS_X64_MISSING              224

#endif
