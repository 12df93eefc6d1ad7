// Resource identifiers of the setup launcher (range 8000-8999).
#pragma once

#define IDI_TAVISNAP_SETUP 8000
#define IDD_Setup_Main 8001
#define IDC_BtnLicense 8002
#define IDC_BtnCancel 8003
#define IDC_BtnInstall 8004
#define IDC_MemoKyodaku 8005
#define IDC_LabelKyodaku 8006
