// Resource identifiers of tavisnap.exe.
#pragma once

#define IDI_TAVISNAP 1
#define IDB_LOGO 101
