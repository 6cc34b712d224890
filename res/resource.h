/* Resource identifiers shared by the resource script and the program. */
#ifndef TRELUN_RESOURCE_H
#define TRELUN_RESOURCE_H

#define IDI_APP                      1

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

#endif
