// Resource identifiers of the viewer window (range 6000-6999).
#pragma once

#define IDD_FormViewer 6000
#define IDR_ViewerMenuData 6001

// FileMenu
#define IDM_FileOpen 6100
#define IDM_FileSave 6101
#define IDM_ReDraw 6102
#define IDM_Send 6103
#define IDM_FileExit 6104
// N2
#define IDM_Expand 6110
#define IDM_Reduce 6111
#define IDM_RRotate 6112
#define IDM_LRotate 6113
// PictureMenu
#define IDM_Reverse_yellow 6120
#define IDM_reverse 6121
// DiagramMenu
#define IDM_ShapeLine 6130
#define IDM_ShapeRect 6131
#define IDM_ShapeEllipse 6132
#define IDM_ShapeFree 6133
#define IDM_ModeRelease 6134
// DrawColore
#define IDM_Black 6140
#define IDM_White 6141
#define IDM_Red 6142
#define IDM_Blue 6143
#define IDM_Yellow 6144
