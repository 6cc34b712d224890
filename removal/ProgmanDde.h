// Program Manager's DDE commands, the way Win32s removes program items.
#pragma once

// 1 when Program Manager accepted the command.
int progmanExecute(const char* command);

// How progmanDeleteItem sends its commands: progmanExecute, or a test's
// recorder.
typedef int (*ProgmanCommandSender)(const char* command);
extern ProgmanCommandSender progmanSend;

// "[ShowGroup(group,1)]" then "[DeleteItem(item)]"; 1 when both were
// accepted. Names that do not fit a command, or that hold a bracket (which
// would start a command of their own), are refused with 0.
int progmanDeleteItem(const char* group, const char* item);
