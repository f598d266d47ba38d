// Resource numbers of nightgrid.scr, shared by nightgrid.rc and the code that asks for them. Windows' screen
// saver list shows string 1; the shell asks for icon 100 and dialog 2003 by number.
#pragma once

#define IDS_DESCRIPTION 1
#define APP_ICON_RESOURCE 100
#define CONFIG_DIALOG_RESOURCE 2003
