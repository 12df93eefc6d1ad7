// Resource identifiers of the transfer window (range 2000-2999).
#pragma once

#define IDD_FormHTTP 2000
#define IDC_AnimateFileCopy 2001
#define IDC_ProgressBar 2002
#define IDC_ButtonCancel 2003
