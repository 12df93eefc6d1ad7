// Resource identifiers of the start-up account window (range 3000-3999).
#pragma once

#define IDD_FormInit 3000
#define IDR_FormIniMenu 3001
#define IDD_TabSheet_new_reg 3002
#define IDD_TabSheet_already_reg 3003

#define IDC_Init_PageControlData 3100
#define IDC_StatusBar1 3101

// Page 0, new registration, in tab order.
#define IDC_GroupBox_userid1 3110
#define IDC_Label_new_mailadr1 3111
#define IDC_Edit_new_mailadr1 3112
#define IDC_StaticText_new_mailadr1 3113
#define IDC_GroupBox_userid2 3114
#define IDC_StaticText_new_mailadr2 3115
#define IDC_Edit_new_mailadr2 3116
#define IDC_Label_guid 3117
#define IDC_StaticText_guid 3118
#define IDC_Button_new_reg_do 3119
#define IDC_Button_new_reg_cancel 3120

// Page 1, sign-in, in tab order.
#define IDC_GroupBox_userid 3130
#define IDC_StaticText_userid 3131
#define IDC_Edit_already_mailadr 3132
#define IDC_GroupBox_password 3133
#define IDC_StaticText_password 3134
#define IDC_Edit_already_password 3135
#define IDC_CheckBox_AutoLogin 3136
#define IDC_Button_already_reg_do 3137
#define IDC_Button_already_reg_cancel 3138
#define IDC_Button_already_reg_Password 3139

// Menu FormIniMenu.
#define IDM_IniMenuNewReg 3200
#define IDM_INiMenuLogin 3201
#define IDM_IniMenuEnd 3202
#define IDM_IniMenuHelpDisp 3203
#define IDM_IniMenuReadme 3204
#define IDM_IniMenuVersion 3205
