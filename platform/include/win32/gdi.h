#pragma once
// gdi32 and the drawing half of user32: device contexts, pens, brushes, fonts, text, regions,
// bitmaps and DIBs, palettes, icons and cursors, metafiles, system colours.

#include "types.h"
#include "user_constants.h"

// --- Stock objects, device capabilities, modes -----------------------------------------------
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17
#define DC_BRUSH 18
#define DC_PEN 19

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_METAFILE 9
#define OBJ_MEMDC 10

#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMBRUSHES 16
#define NUMPENS 18
#define NUMFONTS 22
#define NUMCOLORS 24
#define TECHNOLOGY 2
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define NUMRESERVED 106
#define COLORRES 108
#define DT_RASDISPLAY 1
#define RC_BITBLT 1
#define RC_BITMAP64 8
#define RC_DI_BITMAP 0x0080
#define RC_PALETTE 0x0100
#define RC_DIBTODEV 0x0200
#define RC_STRETCHBLT 0x0800
#define RC_STRETCHDIB 0x2000

#define TRANSPARENT 1
#define OPAQUE 2

#define MM_TEXT 1
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

#define ALTERNATE 1
#define WINDING 2

#define R2_BLACK 1
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOP 11
#define R2_COPYPEN 13
#define R2_WHITE 16

#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_DELETESCANS COLORONCOLOR

#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define SRCERASE 0x00440328
#define NOTSRCCOPY 0x00330008
#define NOTSRCERASE 0x001100A6
#define MERGEPAINT 0x00BB0226
#define PATCOPY 0x00F00021
#define PATINVERT 0x005A0049
#define DSTINVERT 0x00550009
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062

#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFL
#define HGDI_ERROR ((HANDLE)(LONG_PTR)-1)

// --- Pens and brushes --------------------------------------------------------------------------
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_STYLE_MASK 0x0000000F

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3

#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5

typedef struct tagLOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
} LOGPEN, *PLOGPEN, *LPLOGPEN;

typedef struct tagLOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
} LOGBRUSH, *PLOGBRUSH, *LPLOGBRUSH;

// --- Regions -----------------------------------------------------------------------------------
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

// Frame controls: caption buttons and the check, radio and push button faces (DrawFrameControl).
#define DFC_CAPTION 1
#define DFC_MENU 2
#define DFC_SCROLL 3
#define DFC_BUTTON 4
#define DFCS_CAPTIONCLOSE 0x0000
#define DFCS_CAPTIONMIN 0x0001
#define DFCS_CAPTIONMAX 0x0002
#define DFCS_CAPTIONRESTORE 0x0003
#define DFCS_CAPTIONHELP 0x0004
#define DFCS_BUTTONCHECK 0x0000
#define DFCS_BUTTONRADIOIMAGE 0x0001
#define DFCS_BUTTONRADIOMASK 0x0002
#define DFCS_BUTTONRADIO 0x0004
#define DFCS_BUTTON3STATE 0x0008
#define DFCS_BUTTONPUSH 0x0010
#define DFCS_INACTIVE 0x0100
#define DFCS_PUSHED 0x0200
#define DFCS_CHECKED 0x0400
#define DFCS_TRANSPARENT 0x0800
#define DFCS_HOT 0x1000
#define DFCS_ADJUSTRECT 0x2000
#define DFCS_FLAT 0x4000
#define DFCS_MONO 0x8000

VEL_WIN32_API BOOL WINAPI DrawFrameControl(HDC hdc, LPRECT lprc, UINT uType, UINT uState);

// --- Fonts and text ----------------------------------------------------------------------------
#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define OEM_CHARSET 255
#define OUT_DEFAULT_PRECIS 0
#define OUT_TT_PRECIS 4
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50
#define TMPF_FIXED_PITCH 0x01
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04

typedef struct tagLOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *PLOGFONTA, *LPLOGFONTA;

typedef struct tagTEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
} TEXTMETRICA, *PTEXTMETRICA, *LPTEXTMETRICA;

#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800

// --- Bitmaps, DIBs, palettes -------------------------------------------------------------------
#define BI_RGB 0L
#define BI_RLE8 1L
#define BI_RLE4 2L
#define BI_BITFIELDS 3L
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1
#define CBM_INIT 0x04L

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD, *LPRGBQUAD;

typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER, *PBITMAPINFOHEADER, *LPBITMAPINFOHEADER;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO, *PBITMAPINFO, *LPBITMAPINFO;

#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
} BITMAPFILEHEADER, *PBITMAPFILEHEADER, *LPBITMAPFILEHEADER;
#pragma pack(pop)

typedef struct tagDIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
} DIBSECTION, *PDIBSECTION, *LPDIBSECTION;

typedef struct tagPALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
} PALETTEENTRY, *PPALETTEENTRY, *LPPALETTEENTRY;

typedef struct tagLOGPALETTE {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
} LOGPALETTE, *PLOGPALETTE, *LPLOGPALETTE;

#define PC_RESERVED 0x01
#define PC_EXPLICIT 0x02
#define PC_NOCOLLAPSE 0x04

// --- Icons and cursors -------------------------------------------------------------------------
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x00000000
#define LR_MONOCHROME 0x00000001
#define LR_DEFAULTSIZE 0x00000040
#define LR_SHARED 0x00008000
#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_COMPAT 0x0004
#define DI_DEFAULTSIZE 0x0008

#define IDI_HAND MAKEINTRESOURCEA(32513)
#define IDI_QUESTION MAKEINTRESOURCEA(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEA(32515)
#define IDI_ASTERISK MAKEINTRESOURCEA(32516)
#define IDI_WINLOGO MAKEINTRESOURCEA(32517)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

#define IDC_SIZENWSE MAKEINTRESOURCEA(32642)
#define IDC_SIZENESW MAKEINTRESOURCEA(32643)
#define IDC_SIZEWE MAKEINTRESOURCEA(32644)
#define IDC_SIZENS MAKEINTRESOURCEA(32645)
#define IDC_APPSTARTING MAKEINTRESOURCEA(32650)

typedef struct _ICONINFO {
  BOOL fIcon;
  DWORD xHotspot;
  DWORD yHotspot;
  HBITMAP hbmMask;
  HBITMAP hbmColor;
} ICONINFO, *PICONINFO;

// --- Metafiles ---------------------------------------------------------------------------------
typedef struct tagMETAFILEPICT {
  LONG mm;
  LONG xExt;
  LONG yExt;
  HMETAFILE hMF;
} METAFILEPICT, *LPMETAFILEPICT;

// --- 3D edges (the system colour indexes are in user_constants.h) ------------------------------

#define BDR_RAISEDOUTER 0x0001
#define BDR_SUNKENOUTER 0x0002
#define BDR_RAISEDINNER 0x0004
#define BDR_SUNKENINNER 0x0008
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)
#define BF_LEFT 0x0001
#define BF_TOP 0x0002
#define BF_RIGHT 0x0004
#define BF_BOTTOM 0x0008
#define BF_TOPLEFT (BF_TOP | BF_LEFT)
#define BF_BOTTOMRIGHT (BF_BOTTOM | BF_RIGHT)
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE 0x0800
#define BF_SOFT 0x1000
#define BF_ADJUST 0x2000
#define BF_FLAT 0x4000
#define BF_MONO 0x8000

// --- Device contexts and objects ---------------------------------------------------------------
VEL_WIN32_API HDC WINAPI CreateCompatibleDC(HDC hdc);
VEL_WIN32_API BOOL WINAPI DeleteDC(HDC hdc);
VEL_WIN32_API HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
VEL_WIN32_API BOOL WINAPI DeleteObject(HGDIOBJ ho);
VEL_WIN32_API HGDIOBJ WINAPI GetStockObject(int i);
VEL_WIN32_API HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type);
VEL_WIN32_API DWORD WINAPI GetObjectType(HGDIOBJ h);
VEL_WIN32_API int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv);
VEL_WIN32_API int WINAPI SaveDC(HDC hdc);
VEL_WIN32_API BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC);
VEL_WIN32_API int WINAPI GetDeviceCaps(HDC hdc, int index);
VEL_WIN32_API BOOL WINAPI GdiFlush(void);

// --- Attributes --------------------------------------------------------------------------------
VEL_WIN32_API COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
VEL_WIN32_API COLORREF WINAPI GetTextColor(HDC hdc);
VEL_WIN32_API COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
VEL_WIN32_API COLORREF WINAPI GetBkColor(HDC hdc);
VEL_WIN32_API int WINAPI SetBkMode(HDC hdc, int mode);
VEL_WIN32_API int WINAPI GetBkMode(HDC hdc);
VEL_WIN32_API int WINAPI SetROP2(HDC hdc, int rop2);
VEL_WIN32_API int WINAPI GetROP2(HDC hdc);
VEL_WIN32_API int WINAPI SetPolyFillMode(HDC hdc, int mode);
VEL_WIN32_API int WINAPI SetStretchBltMode(HDC hdc, int mode);
VEL_WIN32_API int WINAPI GetStretchBltMode(HDC hdc);
VEL_WIN32_API UINT WINAPI SetTextAlign(HDC hdc, UINT align);
VEL_WIN32_API UINT WINAPI GetTextAlign(HDC hdc);
VEL_WIN32_API BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt);

// --- Coordinate mapping ------------------------------------------------------------------------
VEL_WIN32_API int WINAPI SetMapMode(HDC hdc, int iMode);
VEL_WIN32_API int WINAPI GetMapMode(HDC hdc);
VEL_WIN32_API BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
VEL_WIN32_API BOOL WINAPI SetWindowExtEx(HDC hdc, int x, int y, LPSIZE lpsz);
VEL_WIN32_API BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
VEL_WIN32_API BOOL WINAPI SetViewportExtEx(HDC hdc, int x, int y, LPSIZE lpsz);
VEL_WIN32_API BOOL WINAPI OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
VEL_WIN32_API BOOL WINAPI OffsetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
VEL_WIN32_API BOOL WINAPI GetWindowOrgEx(HDC hdc, LPPOINT lppoint);
VEL_WIN32_API BOOL WINAPI GetWindowExtEx(HDC hdc, LPSIZE lpsize);
VEL_WIN32_API BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppoint);
VEL_WIN32_API BOOL WINAPI GetViewportExtEx(HDC hdc, LPSIZE lpsize);
VEL_WIN32_API BOOL WINAPI LPtoDP(HDC hdc, LPPOINT lppt, int c);
VEL_WIN32_API BOOL WINAPI DPtoLP(HDC hdc, LPPOINT lppt, int c);

// --- Clipping and regions ----------------------------------------------------------------------
VEL_WIN32_API HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2);
VEL_WIN32_API HRGN WINAPI CreateRectRgnIndirect(const RECT* lprect);
VEL_WIN32_API BOOL WINAPI SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom);
VEL_WIN32_API int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode);
VEL_WIN32_API int WINAPI OffsetRgn(HRGN hrgn, int x, int y);
VEL_WIN32_API int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc);
VEL_WIN32_API BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y);
VEL_WIN32_API BOOL WINAPI RectInRegion(HRGN hrgn, const RECT* lprect);
VEL_WIN32_API BOOL WINAPI EqualRgn(HRGN hrgn1, HRGN hrgn2);
VEL_WIN32_API BOOL WINAPI FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr);
VEL_WIN32_API int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn);
VEL_WIN32_API int WINAPI ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode);
VEL_WIN32_API int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
VEL_WIN32_API int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
VEL_WIN32_API int WINAPI GetClipBox(HDC hdc, LPRECT lprect);
VEL_WIN32_API int WINAPI GetClipRgn(HDC hdc, HRGN hrgn);

// --- Pens, brushes, primitives -----------------------------------------------------------------
VEL_WIN32_API HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color);
VEL_WIN32_API HPEN WINAPI CreatePenIndirect(const LOGPEN* plpen);
VEL_WIN32_API HBRUSH WINAPI CreateSolidBrush(COLORREF color);
VEL_WIN32_API HBRUSH WINAPI CreateHatchBrush(int iHatch, COLORREF color);
VEL_WIN32_API HBRUSH WINAPI CreatePatternBrush(HBITMAP hbm);
VEL_WIN32_API HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* plbrush);
VEL_WIN32_API BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt);
VEL_WIN32_API BOOL WINAPI LineTo(HDC hdc, int x, int y);
VEL_WIN32_API BOOL WINAPI Polyline(HDC hdc, const POINT* apt, int cpt);
VEL_WIN32_API BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt);
VEL_WIN32_API BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom);
VEL_WIN32_API BOOL WINAPI RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height);
VEL_WIN32_API BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom);
VEL_WIN32_API BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop);
VEL_WIN32_API COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color);
VEL_WIN32_API COLORREF WINAPI GetPixel(HDC hdc, int x, int y);
VEL_WIN32_API int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
VEL_WIN32_API int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
VEL_WIN32_API BOOL WINAPI InvertRect(HDC hDC, const RECT* lprc);
VEL_WIN32_API BOOL WINAPI DrawFocusRect(HDC hDC, const RECT* lprc);
VEL_WIN32_API BOOL WINAPI DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags);
VEL_WIN32_API DWORD WINAPI GetSysColor(int nIndex);
VEL_WIN32_API HBRUSH WINAPI GetSysColorBrush(int nIndex);

// --- Fonts and text ----------------------------------------------------------------------------
VEL_WIN32_API HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf);
VEL_WIN32_API HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                                       DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                                       DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
                                       DWORD iPitchAndFamily, LPCSTR pszFaceName);
VEL_WIN32_API BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm);
VEL_WIN32_API int WINAPI GetTextFaceA(HDC hdc, int c, LPSTR lpName);
VEL_WIN32_API BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl);
VEL_WIN32_API BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR lpString, int c, LPSIZE lpsz);
VEL_WIN32_API BOOL WINAPI GetCharWidthA(HDC hdc, UINT iFirst, UINT iLast, LPINT lpBuffer);
VEL_WIN32_API BOOL WINAPI GetCharWidth32A(HDC hdc, UINT iFirst, UINT iLast, LPINT lpBuffer);
VEL_WIN32_API BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c);
VEL_WIN32_API BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString,
                                      UINT c, const INT* lpDx);
VEL_WIN32_API int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format);

// --- Bitmaps, DIBs and palettes ----------------------------------------------------------------
VEL_WIN32_API HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy);
VEL_WIN32_API HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount,
                                          const VOID* lpBits);
VEL_WIN32_API HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, VOID** ppvBits,
                                              HANDLE hSection, DWORD offset);
VEL_WIN32_API HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit,
                                            const VOID* pjBits, const BITMAPINFO* pbmi, UINT iUsage);
VEL_WIN32_API int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits,
                                   LPBITMAPINFO lpbmi, UINT usage);
VEL_WIN32_API int WINAPI SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                                           UINT StartScan, UINT cLines, const VOID* lpvBits,
                                           const BITMAPINFO* lpbmi, UINT ColorUse);
VEL_WIN32_API int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc,
                                       int ySrc, int SrcWidth, int SrcHeight, const VOID* lpBits,
                                       const BITMAPINFO* lpbmi, UINT iUsage, DWORD rop);
VEL_WIN32_API BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
VEL_WIN32_API BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc,
                                     int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop);
VEL_WIN32_API HPALETTE WINAPI CreatePalette(const LOGPALETTE* plpal);
VEL_WIN32_API HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBkgd);
VEL_WIN32_API UINT WINAPI RealizePalette(HDC hdc);
VEL_WIN32_API UINT WINAPI GetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, LPPALETTEENTRY pPalEntries);
VEL_WIN32_API UINT WINAPI GetNearestPaletteIndex(HPALETTE h, COLORREF color);
VEL_WIN32_API COLORREF WINAPI GetNearestColor(HDC hdc, COLORREF color);

// --- System bitmaps ----------------------------------------------------------------------------
#define OBM_COMBO 32738
#define OBM_DNARROW 32752
#define OBM_UPARROW 32753
#define OBM_RGARROW 32751
#define OBM_LFARROW 32750

VEL_WIN32_API HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName);

// --- Icons and cursors -------------------------------------------------------------------------
VEL_WIN32_API HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
VEL_WIN32_API HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);
VEL_WIN32_API HICON WINAPI CreateIconFromResourceEx(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer,
                                                    int cxDesired, int cyDesired, UINT Flags);
VEL_WIN32_API HICON WINAPI CreateIconFromResource(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer);
VEL_WIN32_API int WINAPI LookupIconIdFromDirectoryEx(PBYTE presbits, BOOL fIcon, int cxDesired, int cyDesired,
                                                     UINT Flags);
VEL_WIN32_API HICON WINAPI CreateIconIndirect(PICONINFO piconinfo);
VEL_WIN32_API BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo);
VEL_WIN32_API HICON WINAPI CopyIcon(HICON hIcon);
VEL_WIN32_API BOOL WINAPI DestroyIcon(HICON hIcon);
VEL_WIN32_API BOOL WINAPI DestroyCursor(HCURSOR hCursor);
VEL_WIN32_API BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon);
VEL_WIN32_API BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth,
                                     UINT istepIfAniCur, HBRUSH hbrFlickerFreeDraw, UINT diFlags);
VEL_WIN32_API HICON WINAPI ExtractIconA(HINSTANCE hInst, LPCSTR pszExeFileName, UINT nIconIndex);

// --- Metafiles ---------------------------------------------------------------------------------
VEL_WIN32_API HMETAFILE WINAPI SetMetaFileBitsEx(UINT cbBuffer, const BYTE* lpData);
VEL_WIN32_API UINT WINAPI GetMetaFileBitsEx(HMETAFILE hMF, UINT cbBuffer, LPVOID lpData);
VEL_WIN32_API BOOL WINAPI PlayMetaFile(HDC hdc, HMETAFILE hmf);
VEL_WIN32_API BOOL WINAPI DeleteMetaFile(HMETAFILE hmf);
