// Templates of the framework's own tests (range 9000-9099).
#pragma once

#define IDD_TestFrame 9000
#define IDD_TestPage 9001
#define IDC_Test_Edit 9010
#define IDC_Test_Button 9011
#define IDC_Test_Label 9012
#define IDC_Test_PageButton 9013
#define IDD_TestPagedFrame 9002
#define IDC_Test_Tabs 9020
#define IDC_Test_AfterTabs 9021
