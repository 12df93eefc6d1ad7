// Resource identifiers of the main window (7000-7999): templates, controls, menus.
// Plain numbers, shared by the .rc file, the window and the portable command table.
#pragma once

// Templates and menus.
#define IDD_FormMainTavisnap 7000
#define IDD_TabSheet_dst 7010
#define IDD_TabSheet_address_Add 7011
#define IDD_TabSheet_Address_edit 7012
#define IDD_TabSheet_Address_del 7013
#define IDD_TabSheet_user_info 7014
#define IDD_TabSheet_userid_chg 7015
#define IDD_TabSheet_pwd_chg 7016
#define IDD_TabSheet_pwd_notify 7017
#define IDD_TabSheet_dst_setting 7018
#define IDR_MainMenuData 7020
#define IDR_PopupMenuTrayIcon 7021

// Controls of the window itself.
#define IDC_Main_PageControlData 7030
#define IDC_Button_exec 7031
#define IDC_Main_Button_cancel 7032
#define IDC_StatusBar_tavisnapmain 7033
#define IDC_Main_ComboBox_name 7034
#define IDC_Main_ComboBox_mailadr 7035

// Controls of the pages.
#define IDC_Main_StaticText_dst_name_dsp 7100
#define IDC_StaticText_dst_meailadr_dsp 7101
#define IDC_Main_ComboBox_dst_list 7102
#define IDC_Edit_add_name 7110
#define IDC_Edit_add_mailadr 7111
#define IDC_ComboBox_upd_maillist 7120
#define IDC_Edit_upd_name 7121
#define IDC_Edit_upd_mailadr 7122
#define IDC_ComboBox_del_maillist 7130
#define IDC_StaticTextuserinfo_userid_dsp 7140
#define IDC_GroupBox_idchg 7150
#define IDC_Edit_idchg_userid 7151
#define IDC_StaticText_idchg_userif 7152
#define IDC_GroupBox_idchg_confirm 7153
#define IDC_Edit_idchg_confrm 7154
#define IDC_StaticText_idchg_confirm 7155
#define IDC_GroupBox_pwdchg 7160
#define IDC_Edit_pwdchg 7161
#define IDC_StaticText_pwdchg 7162
#define IDC_GroupBox3 7163
#define IDC_Edit_pwdchg_confrm 7164
#define IDC_StaticText_pwdchg_confirm 7165
#define IDC_StaticText_pwd_renotify_guid 7170
#define IDC_Edit_send_add_name 7180
#define IDC_Edit_send_add_mail 7181

// Labels and group boxes of the pages, which the window places.
#define IDC_GroupBox_dst_1 7400
#define IDC_Label_dst_2 7401
#define IDC_GroupBox_dst_3 7402
#define IDC_Label_dst_4 7403
#define IDC_Label_dst_5 7404
#define IDC_Label_address_Add_1 7410
#define IDC_Label_address_Add_2 7411
#define IDC_Label_Address_edit_1 7420
#define IDC_Label_Address_edit_2 7421
#define IDC_Label_Address_edit_3 7422
#define IDC_Label_Address_del_1 7430
#define IDC_GroupBox_user_info_1 7440
#define IDC_Label_user_info_2 7441
#define IDC_Label_pwd_notify_1 7470
#define IDC_Label_dst_setting_1 7480
#define IDC_Label_dst_setting_2 7481

// Main menu MainMenuData.
#define IDM_MenuSetTo 7201
#define IDM_MenuSend 7202
#define IDM_MenuDelete 7203
#define IDM_MenuViewer 7204
#define IDM_MenuClose 7205
#define IDM_MenuProgEnd 7206
#define IDM_MenuResend 7207
#define IDM_MenuAddrListAdd 7211
#define IDM_MenuAddrListEdit 7212
#define IDM_MenuAddrListDel 7213
#define IDM_CSVL1 7214
#define IDM_CSVE1 7215
#define IDM_MenuSetPersonalInfo 7221
#define IDM_MenuSetPersonalUserIdEdit 7222
#define IDM_MenuSetPersonalUserPwdEdit 7223
#define IDM_MenuSetHotKey_PS 7231
#define IDM_MenuSetHotKey_P 7232
#define IDM_MenuSetHotKey_O 7233
#define IDM_MenuSetHotKey_S 7234
#define IDM_MenuSetHotKey_C 7235
#define IDM_MenuSetBasicOnOff 7241
#define IDM_MenuSetOtherPwdNotif 7242
#define IDM_MenuSetOtherAutologin 7243
#define IDM_MenuHelpDisp 7251
#define IDM_MenuReadme 7252
#define IDM_MenuVersion 7253

// Tray menu PopupMenuTrayIcon.
#define IDM_PMenuTraySend 7301
#define IDM_PMenuTrayDelete 7302
#define IDM_PMenuViewer 7303
#define IDM_PMenuTrayClose 7304
#define IDM_PMenuTrayExit 7305
#define IDM_PMenuTrayResend 7306
#define IDM_PMenuTraySetTo 7311
#define IDM_PMenuTraySetAddrListAdd 7321
#define IDM_PMenuTraySetAddrListEdit 7322
#define IDM_PMenuTraySetAddrListDel 7323
#define IDM_CsvLump 7324
#define IDM_export 7325
#define IDM_PMenuTraySetPersonalInfo 7331
#define IDM_PMenuTraySetPersonalUserIdEdit 7332
#define IDM_PMenuTraySetPersonalUserPwdEdit 7333
#define IDM_PMenuTraySetHotKey_PS 7341
#define IDM_PMenuTraySetHotKey_P 7342
#define IDM_PMenuTraySetHotKey_O 7343
#define IDM_PMenuTraySetHotKey_S 7344
#define IDM_PMenuTraySetHotKey_C 7345
#define IDM_PMenuTrayBasicAuthOnOff 7351
#define IDM_PMenuTraySetOtherPwdNotif 7352
#define IDM_PMenuTraySetOtherAutologin 7353
#define IDM_pMenuHelpDisp 7361
#define IDM_pMenuReadme 7362
#define IDM_pMenuVersion 7363
