// Identifiers of the program's resources, shared by the .rc script and the code.
#pragma once

#define IDR_MANIFEST 1
#define IDS_APP_TITLE 100
