// Resource identifiers of the transfer window (range 2000-2999).
#pragma once

#define IDD_FORM_HTTP 2000
#define IDC_ANIMATE_FILE_COPY 2001
#define IDC_PROGRESS_BAR 2002
#define IDC_BUTTON_CANCEL 2003
