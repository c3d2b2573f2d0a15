// Identifiers of Gravisk.exe's resources, shared by gravisk.rc and the C++ code.
// The program icon is the first icon resource, so Explorer shows it for the file.
#pragma once

#define IDI_GRAVISK 1
