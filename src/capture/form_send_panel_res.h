// Resource identifiers of the send panel (range 4000-4999).
#pragma once

#define IDD_FormSendPanel 4000
#define IDD_TabSheet_easy 4001
#define IDD_TabSheet_detailed 4002

#define IDC_SendPanel_PageControlData 4010
#define IDC_SendPanel_ComboBox_name 4011
#define IDC_SendPanel_ComboBox_mailadr 4012

// TabSheet_easy
#define IDC_GroupBox_dst_name 4100
#define IDC_StaticText_dst_name 4101
#define IDC_SendPanel_StaticText_dst_name_dsp 4102
#define IDC_GroupBox_dst_mailadr 4103
#define IDC_StaticText_dst_mailadr 4104
#define IDC_StaticText_dst_mailadr_dsp 4105
#define IDC_StaticText_SendList 4106
#define IDC_SendPanel_ComboBox_dst_list 4107
#define IDC_Button_chgmadr 4108
#define IDC_Label_Image 4109
#define IDC_StaticText_Image 4110
#define IDC_Panel_image 4111
#define IDC_Button_send_exec 4112
#define IDC_SendPanel_Button_cancel 4113
#define IDC_Button_viewer 4114

// TabSheet_detailed
#define IDC_GroupBox_MailTo 4200
#define IDC_StaticText_MailTo 4201
#define IDC_Edit_MailTo_Email 4202
#define IDC_StaticText_MailTo_list 4203
#define IDC_ComboBox_MailTo_list 4204
#define IDC_Button_ChgMailTo 4205
#define IDC_GroupBox_Cc 4206
#define IDC_StaticText_Cc 4207
#define IDC_Edit_Cc_Email 4208
#define IDC_StaticText_Cc_list 4209
#define IDC_ComboBox_Cc_list 4210
#define IDC_Button_Cc_Add 4211
#define IDC_GroupBox_Bcc 4212
#define IDC_StaticText_Bcc 4213
#define IDC_Edit_Bcc_Email 4214
#define IDC_StaticText_Bcc_list 4215
#define IDC_ComboBox_Bcc_list 4216
#define IDC_Button_Bcc_Add 4217
#define IDC_GroupBox_Message 4218
#define IDC_StaticText_Message 4219
#define IDC_Memo_Message 4220
#define IDC_Panel_d_image 4221
#define IDC_Button_d_Send_exec 4222
#define IDC_Button_d_cancel 4223
#define IDC_Button_d_viewer 4224
#define IDC_Label_d_Image 4225
#define IDC_StaticText_d_Image 4226
#define IDC_Button_d_reader 4227
