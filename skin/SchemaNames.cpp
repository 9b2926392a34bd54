#include "SchemaNames.h"

#include <string>
#include <unordered_map>

namespace
{
// Position (counted from `first`) of name in a null-terminated list, or 0.
int IndexIn(const LPCWSTR* names, LPCWSTR name, int first)
{
    if (name == NULL)
        return 0;
    for (int i = 0; names[i] != NULL; i++)
        if (lstrcmpiW(names[i], name) == 0)
            return i + first;
    return 0;
}

// ---- classes (id 11 is given to no name)
const LPCWSTR kClasses[] = {
    L"GLOBALS",  L"DOCUMENTATION", L"SYSMETRICS", L"LISTBOX",  L"DIALOG",     L"WINDOW",     L"BUTTON",
    L"REBAR",    L"TOOLBAR",       L"STATUS",     L"",         L"LISTVIEW",   L"HEADER",     L"PROGRESS",
    L"TAB",      L"TRACKBAR",      L"TOOLTIP",    L"TREEVIEW", L"SPIN",       L"PAGE",       L"SCROLLBAR",
    L"EDIT",     L"COMBOBOX",      L"CLOCK",      L"TRAYNOTIFY", L"TASKBAR",  L"TASKBAND",   L"STARTPANEL",
    L"EXPLORERBAR", L"MENUBAND",   NULL};

// ---- parts per class
const LPCWSTR kWindowParts[] = {
    L"CAPTION", L"SMALLCAPTION", L"MINCAPTION", L"SMALLMINCAPTION", L"MAXCAPTION", L"SMALLMAXCAPTION",
    L"FRAMELEFT", L"FRAMERIGHT", L"FRAMEBOTTOM", L"SMALLFRAMELEFT", L"SMALLFRAMERIGHT", L"SMALLFRAMEBOTTOM",
    L"SYSBUTTON", L"MDISYSBUTTON", L"MINBUTTON", L"MDIMINBUTTON", L"MAXBUTTON", L"CLOSEBUTTON",
    L"SMALLCLOSEBUTTON", L"MDICLOSEBUTTON", L"RESTOREBUTTON", L"MDIRESTOREBUTTON", L"HELPBUTTON",
    L"MDIHELPBUTTON", L"HORZSCROLL", L"HORZTHUMB", L"VERTSCROLL", L"VERTTHUMB", L"DIALOG",
    L"CAPTIONSIZINGTEMPLATE", L"SMALLCAPTIONSIZINGTEMPLATE", L"FRAMELEFTSIZINGTEMPLATE",
    L"SMALLFRAMELEFTSIZINGTEMPLATE", L"FRAMERIGHTSIZINGTEMPLATE", L"SMALLFRAMERIGHTSIZINGTEMPLATE",
    L"FRAMEBOTTOMSIZINGTEMPLATE", L"SMALLFRAMEBOTTOMSIZINGTEMPLATE", NULL};
const LPCWSTR kButtonParts[] = {L"PUSHBUTTON", L"RADIOBUTTON", L"CHECKBOX", L"GROUPBOX", L"USERBUTTON", NULL};
const LPCWSTR kRebarParts[] = {L"GRIPPER", L"GRIPPERVERT", L"BAND", L"CHEVRON", L"CHEVRONVERT", NULL};
const LPCWSTR kToolbarParts[] = {L"BUTTON",    L"DROPDOWNBUTTON", L"SPLITBUTTON", L"SPLITBUTTONDROPDOWN",
                                 L"SEPARATOR", L"SEPARATORVERT",  NULL};
const LPCWSTR kStatusParts[] = {L"PANE", L"GRIPPERPANE", L"GRIPPER", NULL};
const LPCWSTR kListViewParts[] = {L"LISTITEM", L"LISTGROUP", L"LISTDETAIL", L"LISTSORTEDDETAIL", L"EMPTYTEXT",
                                  NULL};
const LPCWSTR kHeaderParts[] = {L"HEADERITEM", L"HEADERITEMLEFT", L"HEADERITEMRIGHT", L"HEADERSORTARROW", NULL};
const LPCWSTR kProgressParts[] = {L"BAR", L"BARVERT", L"CHUNK", L"CHUNKVERT", NULL};
const LPCWSTR kTabParts[] = {L"TABITEM",    L"TABITEMLEFTEDGE",    L"TABITEMRIGHTEDGE",    L"TABITEMBOTHEDGE",
                             L"TOPTABITEM", L"TOPTABITEMLEFTEDGE", L"TOPTABITEMRIGHTEDGE", L"TOPTABITEMBOTHEDGE",
                             L"PANE",       L"BODY",               NULL};
const LPCWSTR kTrackbarParts[] = {L"TRACK",     L"TRACKVERT", L"THUMB",      L"THUMBBOTTOM", L"THUMBTOP",
                                  L"THUMBVERT", L"THUMBLEFT", L"THUMBRIGHT", L"TICS",        L"TICSVERT",
                                  NULL};
const LPCWSTR kTooltipParts[] = {L"STANDARD", L"STANDARDTITLE", L"BALLOON", L"BALLOONTITLE", L"CLOSE", NULL};
const LPCWSTR kTreeViewParts[] = {L"TREEITEM", L"GLYPH", L"BRANCH", NULL};
const LPCWSTR kSpinParts[] = {L"UP", L"DOWN", L"UPHORZ", L"DOWNHORZ", NULL};
const LPCWSTR kScrollBarParts[] = {L"ARROWBTN",       L"THUMBBTNHORZ",   L"THUMBBTNVERT", L"LOWERTRACKHORZ",
                                   L"UPPERTRACKHORZ", L"LOWERTRACKVERT", L"UPPERTRACKVERT", L"GRIPPERHORZ",
                                   L"GRIPPERVERT",    L"SIZEBOX",        NULL};
const LPCWSTR kEditParts[] = {L"EDITTEXT", L"CARET", NULL};
const LPCWSTR kComboBoxParts[] = {L"DROPDOWNBUTTON", NULL};
const LPCWSTR kClockParts[] = {L"TIME", NULL};
const LPCWSTR kTrayNotifyParts[] = {L"BACKGROUND", L"ANIMBACKGROUND", NULL};
const LPCWSTR kTaskbarParts[] = {L"BACKGROUNDBOTTOM", L"BACKGROUNDRIGHT", L"BACKGROUNDTOP", L"BACKGROUNDLEFT",
                                 L"SIZINGBARBOTTOM",  L"SIZINGBARRIGHT",  L"SIZINGBARTOP",  L"SIZINGBARLEFT",
                                 NULL};
const LPCWSTR kTaskbandParts[] = {L"GROUPCOUNT", L"FLASHBUTTON", L"FLASHBUTTONGROUPMENU", NULL};
const LPCWSTR kStartPanelParts[] = {L"USERPANE",     L"MOREPROGRAMS", L"MOREPROGRAMSARROW",   L"PROGLIST",
                                    L"PROGLISTSEPARATOR", L"PLACESLIST", L"PLACESLISTSEPARATOR", L"LOGOFF",
                                    L"LOGOFFBUTTONS", L"USERPICTURE", L"PREVIEW",             NULL};
const LPCWSTR kExplorerBarParts[] = {L"HEADERBACKGROUND",       L"HEADERCLOSE",         L"HEADERPIN",
                                     L"IEBARMENU",              L"NORMALGROUPBACKGROUND", L"NORMALGROUPCOLLAPSE",
                                     L"NORMALGROUPEXPAND",      L"NORMALGROUPHEAD",     L"SPECIALGROUPBACKGROUND",
                                     L"SPECIALGROUPCOLLAPSE",   L"SPECIALGROUPEXPAND",  L"SPECIALGROUPHEAD",
                                     NULL};
// "SEPERATOR" is the name style files use.
const LPCWSTR kMenuBandParts[] = {L"NEWAPPBUTTON", L"SEPERATOR", NULL};

struct ClassParts
{
    LPCWSTR className;
    const LPCWSTR* parts;
};
const ClassParts kParts[] = {
    {L"WINDOW", kWindowParts},         {L"BUTTON", kButtonParts},           {L"REBAR", kRebarParts},
    {L"TOOLBAR", kToolbarParts},       {L"STATUS", kStatusParts},           {L"LISTVIEW", kListViewParts},
    {L"HEADER", kHeaderParts},         {L"PROGRESS", kProgressParts},       {L"TAB", kTabParts},
    {L"TRACKBAR", kTrackbarParts},     {L"TOOLTIP", kTooltipParts},         {L"TREEVIEW", kTreeViewParts},
    {L"SPIN", kSpinParts},             {L"PAGE", kSpinParts},               {L"SCROLLBAR", kScrollBarParts},
    {L"EDIT", kEditParts},             {L"COMBOBOX", kComboBoxParts},       {L"CLOCK", kClockParts},
    {L"TRAYNOTIFY", kTrayNotifyParts}, {L"TASKBAR", kTaskbarParts},         {L"TASKBAND", kTaskbandParts},
    {L"STARTPANEL", kStartPanelParts}, {L"EXPLORERBAR", kExplorerBarParts}, {L"MENUBAND", kMenuBandParts},
};

// ---- state groups: the part or class names that reach a group, and its states
const LPCWSTR kCaptionGroup[] = {L"CAPTION", L"MAXCAPTION", L"MINCAPTION", NULL};
const LPCWSTR kCaptionStates[] = {L"ACTIVE", L"INACTIVE", L"DISABLED", NULL};
const LPCWSTR kFrameButtonGroup[] = {L"HORZSCROLL", L"HORZTHUMB",  L"VERTSCROLL",    L"VERTTHUMB",
                                     L"SYSBUTTON",  L"MINBUTTON",  L"MAXBUTTON",     L"RESTOREBUTTON",
                                     L"HELPBUTTON", L"CLOSEBUTTON", NULL};
const LPCWSTR kNormalHotPushedDisabled[] = {L"NORMAL", L"HOT", L"PUSHED", L"DISABLED", NULL};
const LPCWSTR kPushButtonGroup[] = {L"PUSHBUTTON", NULL};
const LPCWSTR kPushButtonStates[] = {L"NORMAL", L"HOT", L"PRESSED", L"DISABLED", L"DEFAULTED", NULL};
const LPCWSTR kRadioGroup[] = {L"RADIOBUTTON", NULL};
const LPCWSTR kRadioStates[] = {L"UNCHECKEDNORMAL",   L"UNCHECKEDHOT",  L"UNCHECKEDPRESSED", L"UNCHECKEDDISABLED",
                                L"CHECKEDNORMAL",     L"CHECKEDHOT",    L"CHECKEDPRESSED",   L"CHECKEDDISABLED",
                                NULL};
const LPCWSTR kCheckGroup[] = {L"CHECKBOX", NULL};
const LPCWSTR kCheckStates[] = {L"UNCHECKEDNORMAL", L"UNCHECKEDHOT",     L"UNCHECKEDPRESSED", L"UNCHECKEDDISABLED",
                                L"CHECKEDNORMAL",   L"CHECKEDHOT",       L"CHECKEDPRESSED",   L"CHECKEDDISABLED",
                                L"MIXEDNORMAL",     L"MIXEDHOT",         L"MIXEDPRESSED",     L"MIXEDDISABLED",
                                NULL};
const LPCWSTR kGroupBoxGroup[] = {L"GROUPBOX", NULL};
const LPCWSTR kNormalDisabled[] = {L"NORMAL", L"DISABLED", NULL};
const LPCWSTR kThreeStateGroup[] = {L"CHEVRON",     L"HEADERITEM",          L"HEADERITEMLEFT",    L"HEADERITEMRIGHT",
                                    L"CLOSE",       L"MOREPROGRAMSARROW",   L"LOGOFFBUTTONS",     L"HEADERCLOSE",
                                    L"IEBARMENU",   L"NORMALGROUPCOLLAPSE", L"NORMALGROUPEXPAND", L"SPECIALGROUPCOLLAPSE",
                                    L"SPECIALGROUPEXPAND", NULL};
const LPCWSTR kNormalHotPressed[] = {L"NORMAL", L"HOT", L"PRESSED", NULL};
const LPCWSTR kToolbarGroup[] = {L"TOOLBAR", L"MENUBAND", NULL};
const LPCWSTR kToolbarStates[] = {L"NORMAL", L"HOT", L"PRESSED", L"DISABLED", L"CHECKED", L"HOTCHECKED", NULL};
const LPCWSTR kItemGroup[] = {L"LISTITEM", L"TREEITEM", NULL};
const LPCWSTR kItemStates[] = {L"NORMAL", L"HOT", L"SELECTED", L"DISABLED", L"SELECTEDNOTFOCUS", NULL};
const LPCWSTR kSortArrowGroup[] = {L"HEADERSORTARROW", NULL};
const LPCWSTR kSortArrowStates[] = {L"SORTEDUP", L"SORTEDDOWN", NULL};
const LPCWSTR kTabItemGroup[] = {L"TABITEM",    L"TABITEMLEFTEDGE",    L"TABITEMRIGHTEDGE",
                                 L"TOPTABITEM", L"TOPTABITEMLEFTEDGE", L"TOPTABITEMRIGHTEDGE", NULL};
const LPCWSTR kTabItemStates[] = {L"NORMAL", L"HOT", L"SELECTED", L"DISABLED", L"FOCUSED", NULL};
const LPCWSTR kNormalOnlyGroup[] = {L"TRACKBAR", L"TRACK", L"TRACKVERT", L"TICS", L"TICSVERT", L"CLOCK", NULL};
const LPCWSTR kNormalOnly[] = {L"NORMAL", NULL};
const LPCWSTR kThumbGroup[] = {L"THUMB", L"THUMBBOTTOM", L"THUMBTOP", L"THUMBVERT", L"THUMBLEFT", L"THUMBRIGHT",
                               NULL};
const LPCWSTR kThumbStates[] = {L"NORMAL", L"HOT", L"PRESSED", L"FOCUSED", L"DISABLED", NULL};
const LPCWSTR kTipGroup[] = {L"STANDARD", L"BALLOON", NULL};
const LPCWSTR kTipStates[] = {L"NORMAL", L"LINK", NULL};
const LPCWSTR kGlyphGroup[] = {L"GLYPH", NULL};
const LPCWSTR kGlyphStates[] = {L"CLOSED", L"OPENED", NULL};
const LPCWSTR kSpinGroup[] = {L"UP", L"DOWN", L"UPHORZ", L"DOWNHORZ", NULL};
const LPCWSTR kSpinStates[] = {L"NORMAL", L"HOT", L"PRESSED", L"DISABLED", NULL};
const LPCWSTR kArrowGroup[] = {L"ARROWBTN", NULL};
const LPCWSTR kArrowStates[] = {L"UPNORMAL",    L"UPHOT",      L"UPPRESSED",    L"UPDISABLED",
                                L"DOWNNORMAL",  L"DOWNHOT",    L"DOWNPRESSED",  L"DOWNDISABLED",
                                L"LEFTNORMAL",  L"LEFTHOT",    L"LEFTPRESSED",  L"LEFTDISABLED",
                                L"RIGHTNORMAL", L"RIGHTHOT",   L"RIGHTPRESSED", L"RIGHTDISABLED", NULL};
const LPCWSTR kScrollBarGroup[] = {L"SCROLLBAR", NULL};
const LPCWSTR kScrollBarStates[] = {L"NORMAL", L"HOT", L"PRESSED", L"DISABLED", L"ACTIVE", NULL};
const LPCWSTR kSizeBoxGroup[] = {L"SIZEBOX", NULL};
const LPCWSTR kSizeBoxStates[] = {L"RIGHTALIGN", L"LEFTALIGN", NULL};
const LPCWSTR kEditTextGroup[] = {L"EDITTEXT", NULL};
const LPCWSTR kEditTextStates[] = {L"NORMAL", L"HOT", L"SELECTED", L"DISABLED", L"FOCUSED", L"READONLY", L"ASSIST",
                                   NULL};
const LPCWSTR kComboGroup[] = {L"COMBOBOX", NULL};
const LPCWSTR kComboStates[] = {L"NORMAL", L"HOT", L"PRESSED", L"DISABLED", NULL};
const LPCWSTR kHeaderPinGroup[] = {L"HEADERPIN", NULL};
const LPCWSTR kHeaderPinStates[] = {L"NORMAL",         L"HOT",         L"PRESSED",
                                    L"SELECTEDNORMAL", L"SELECTEDHOT", L"SELECTEDPRESSED", NULL};

struct StateGroup
{
    const LPCWSTR* groups;
    const LPCWSTR* states;
};
const StateGroup kStates[] = {
    {kCaptionGroup, kCaptionStates},     {kFrameButtonGroup, kNormalHotPushedDisabled},
    {kPushButtonGroup, kPushButtonStates}, {kRadioGroup, kRadioStates},
    {kCheckGroup, kCheckStates},         {kGroupBoxGroup, kNormalDisabled},
    {kThreeStateGroup, kNormalHotPressed}, {kToolbarGroup, kToolbarStates},
    {kItemGroup, kItemStates},           {kSortArrowGroup, kSortArrowStates},
    {kTabItemGroup, kTabItemStates},     {kNormalOnlyGroup, kNormalOnly},
    {kThumbGroup, kThumbStates},         {kTipGroup, kTipStates},
    {kGlyphGroup, kGlyphStates},         {kSpinGroup, kSpinStates},
    {kArrowGroup, kArrowStates},         {kScrollBarGroup, kScrollBarStates},
    {kSizeBoxGroup, kSizeBoxStates},     {kEditTextGroup, kEditTextStates},
    {kComboGroup, kComboStates},         {kHeaderPinGroup, kHeaderPinStates},
};

// ---- properties: runs of consecutive ids of one type
struct PropertyRun
{
    int firstId;
    int type;
    const LPCWSTR* names;
};
const LPCWSTR kP201[] = {L"STRING", NULL};
const LPCWSTR kP202[] = {L"INT", NULL};
const LPCWSTR kP203[] = {L"BOOL", NULL};
const LPCWSTR kP204[] = {L"COLOR", NULL};
const LPCWSTR kP205[] = {L"MARGINS", NULL};
const LPCWSTR kP206[] = {L"FILENAME", NULL};
const LPCWSTR kP207[] = {L"SIZE", NULL};
const LPCWSTR kP208[] = {L"POSITION", NULL};
const LPCWSTR kP209[] = {L"RECT", NULL};
const LPCWSTR kP210[] = {L"FONT", NULL};
const LPCWSTR kP211[] = {L"INTLIST", NULL};
const LPCWSTR kP401[] = {L"COLORSCHEMES", L"SIZES", NULL};
const LPCWSTR kP403[] = {L"CHARSET", NULL};
const LPCWSTR kP601[] = {L"DISPLAYNAME", L"TOOLTIP", L"COMPANY", L"AUTHOR",
                         L"COPYRIGHT",   L"URL",     L"VERSION", L"DESCRIPTION", NULL};
const LPCWSTR kP801[] = {L"CAPTIONFONT", L"SMALLCAPTIONFONT", L"MENUFONT",
                         L"STATUSFONT",  L"MSGBOXFONT",       L"ICONTITLEFONT", NULL};
const LPCWSTR kP1001[] = {L"FLATMENUS", NULL};
const LPCWSTR kP1201[] = {L"SIZINGBORDERWIDTH", L"SCROLLBARWIDTH",     L"SCROLLBARHEIGHT",
                          L"CAPTIONBARWIDTH",   L"CAPTIONBARHEIGHT",   L"SMCAPTIONBARWIDTH",
                          L"SMCAPTIONBARHEIGHT", L"MENUBARWIDTH",      L"MENUBARHEIGHT", NULL};
const LPCWSTR kP1301[] = {L"MINCOLORDEPTH", NULL};
const LPCWSTR kP1401[] = {L"CSSNAME", L"XMLNAME", NULL};
const LPCWSTR kP1601[] = {L"SCROLLBAR",       L"BACKGROUND",      L"ACTIVECAPTION",
                          L"INACTIVECAPTION", L"MENU",            L"WINDOW",
                          L"WINDOWFRAME",     L"MENUTEXT",        L"WINDOWTEXT",
                          L"CAPTIONTEXT",     L"ACTIVEBORDER",    L"INACTIVEBORDER",
                          L"APPWORKSPACE",    L"HIGHLIGHT",       L"HIGHLIGHTTEXT",
                          L"BTNFACE",         L"BTNSHADOW",       L"GRAYTEXT",
                          L"BTNTEXT",         L"INACTIVECAPTIONTEXT", L"BTNHIGHLIGHT",
                          L"DKSHADOW3D",      L"LIGHT3D",         L"INFOTEXT",
                          L"INFOBK",          L"BUTTONALTERNATEFACE", L"HOTTRACKING",
                          L"GRADIENTACTIVECAPTION", L"GRADIENTINACTIVECAPTION", L"MENUHILIGHT",
                          L"MENUBAR",         NULL};
const LPCWSTR kP1801[] = {L"FROMHUE1", L"FROMHUE2", L"FROMHUE3", L"FROMHUE4", L"FROMHUE5",
                          L"TOHUE1",   L"TOHUE2",   L"TOHUE3",   L"TOHUE4",   L"TOHUE5", NULL};
const LPCWSTR kP2001[] = {L"FROMCOLOR1", L"FROMCOLOR2", L"FROMCOLOR3", L"FROMCOLOR4", L"FROMCOLOR5",
                          L"TOCOLOR1",   L"TOCOLOR2",   L"TOCOLOR3",   L"TOCOLOR4",   L"TOCOLOR5", NULL};
const LPCWSTR kP2201[] = {L"TRANSPARENT",  L"AUTOSIZE",         L"BORDERONLY",     L"COMPOSITED",  L"BGFILL",
                          L"GLYPHTRANSPARENT", L"GLYPHONLY",    L"ALWAYSSHOWSIZINGBAR", L"MIRRORIMAGE",
                          L"UNIFORMSIZING", L"INTEGRALSIZING",  L"SOURCEGROW",     L"SOURCESHRINK", NULL};
const LPCWSTR kP2401[] = {L"IMAGECOUNT",      L"ALPHALEVEL",       L"BORDERSIZE",      L"ROUNDCORNERWIDTH",
                          L"ROUNDCORNERHEIGHT", L"GRADIENTRATIO1",  L"GRADIENTRATIO2",  L"GRADIENTRATIO3",
                          L"GRADIENTRATIO4",  L"GRADIENTRATIO5",   L"PROGRESSCHUNKSIZE", L"PROGRESSSPACESIZE",
                          L"SATURATION",      L"TEXTBORDERSIZE",   L"ALPHATHRESHOLD",  L"WIDTH",
                          L"HEIGHT",          L"GLYPHINDEX",       L"TRUESIZESTRETCHMARK", L"MINDPI1",
                          L"MINDPI2",         L"MINDPI3",          L"MINDPI4",         L"MINDPI5", NULL};
const LPCWSTR kP2601[] = {L"GLYPHFONT", NULL};
const LPCWSTR kP3001[] = {L"IMAGEFILE",  L"IMAGEFILE1", L"IMAGEFILE2",     L"IMAGEFILE3",
                          L"IMAGEFILE4", L"IMAGEFILE5", L"STOCKIMAGEFILE", L"GLYPHIMAGEFILE", NULL};
const LPCWSTR kP3201[] = {L"TEXT", NULL};
const LPCWSTR kP3401[] = {L"OFFSET",   L"TEXTSHADOWOFFSET", L"MINSIZE",  L"MINSIZE1",   L"MINSIZE2",
                          L"MINSIZE3", L"MINSIZE4",         L"MINSIZE5", L"NORMALSIZE", NULL};
const LPCWSTR kP3601[] = {L"SIZINGMARGINS", L"CONTENTMARGINS", L"CAPTIONMARGINS", NULL};
const LPCWSTR kP3801[] = {L"BORDERCOLOR",       L"FILLCOLOR",        L"TEXTCOLOR",        L"EDGELIGHTCOLOR",
                          L"EDGEHIGHLIGHTCOLOR", L"EDGESHADOWCOLOR", L"EDGEDKSHADOWCOLOR", L"EDGEFILLCOLOR",
                          L"TRANSPARENTCOLOR",  L"GRADIENTCOLOR1",   L"GRADIENTCOLOR2",   L"GRADIENTCOLOR3",
                          L"GRADIENTCOLOR4",    L"GRADIENTCOLOR5",   L"SHADOWCOLOR",      L"GLOWCOLOR",
                          L"TEXTBORDERCOLOR",   L"TEXTSHADOWCOLOR",  L"GLYPHTEXTCOLOR",   L"GLYPHTRANSPARENTCOLOR",
                          L"FILLCOLORHINT",     L"BORDERCOLORHINT",  L"ACCENTCOLORHINT",  NULL};
const LPCWSTR kP4001[] = {L"BGTYPE",          L"BORDERTYPE",      L"FILLTYPE",   L"SIZINGTYPE",
                          L"HALIGN",          L"CONTENTALIGNMENT", L"VALIGN",    L"OFFSETTYPE",
                          L"ICONEFFECT",      L"TEXTSHADOWTYPE",  L"IMAGELAYOUT", L"GLYPHTYPE",
                          L"IMAGESELECTTYPE", L"GLYPHFONTSIZINGTYPE", L"TRUESIZESCALINGTYPE", NULL};
const LPCWSTR kP5001[] = {L"USERPICTURE", NULL};
const LPCWSTR kP5002[] = {L"DEFAULTPANESIZE", NULL};
const LPCWSTR kP5003[] = {L"BLENDCOLOR", NULL};

const PropertyRun kProperties[] = {
    {201, SCHEMA_TYPE_STRING, kP201},    {202, SCHEMA_TYPE_INT, kP202},       {203, SCHEMA_TYPE_BOOL, kP203},
    {204, SCHEMA_TYPE_COLOR, kP204},     {205, SCHEMA_TYPE_RECT, kP205},      {206, SCHEMA_TYPE_STRING, kP206},
    {207, SCHEMA_TYPE_INT, kP207},       {208, SCHEMA_TYPE_POSITION, kP208},  {209, SCHEMA_TYPE_RECT, kP209},
    {210, SCHEMA_TYPE_FONT, kP210},      {211, SCHEMA_TYPE_INTLIST, kP211},   {401, SCHEMA_TYPE_STRING, kP401},
    {403, SCHEMA_TYPE_INT, kP403},       {601, SCHEMA_TYPE_STRING, kP601},    {801, SCHEMA_TYPE_FONT, kP801},
    {1001, SCHEMA_TYPE_BOOL, kP1001},    {1201, SCHEMA_TYPE_INT, kP1201},     {1301, SCHEMA_TYPE_INT, kP1301},
    {1401, SCHEMA_TYPE_STRING, kP1401},  {1601, SCHEMA_TYPE_COLOR, kP1601},   {1801, SCHEMA_TYPE_INT, kP1801},
    {2001, SCHEMA_TYPE_COLOR, kP2001},   {2201, SCHEMA_TYPE_BOOL, kP2201},    {2401, SCHEMA_TYPE_INT, kP2401},
    {2601, SCHEMA_TYPE_FONT, kP2601},    {3001, SCHEMA_TYPE_STRING, kP3001},  {3201, SCHEMA_TYPE_STRING, kP3201},
    {3401, SCHEMA_TYPE_POSITION, kP3401}, {3601, SCHEMA_TYPE_RECT, kP3601},   {3801, SCHEMA_TYPE_COLOR, kP3801},
    {4001, SCHEMA_TYPE_ENUM, kP4001},    {5001, SCHEMA_TYPE_BOOL, kP5001},    {5002, SCHEMA_TYPE_RECT, kP5002},
    {5003, SCHEMA_TYPE_COLOR, kP5003},
};

// ---- enumerations
const LPCWSTR kBgType[] = {L"IMAGEFILE", L"BORDERFILL", L"NONE", NULL};
const LPCWSTR kImageLayout[] = {L"VERTICAL", L"HORIZONTAL", NULL};
const LPCWSTR kBorderType[] = {L"RECT", L"ROUNDRECT", L"ELLIPSE", NULL};
const LPCWSTR kFillType[] = {L"SOLID", L"VERTGRADIENT", L"HORZGRADIENT", L"RADIALGRADIENT", L"TILEIMAGE", NULL};
const LPCWSTR kSizingType[] = {L"TRUESIZE", L"STRETCH", L"TILE", NULL};
const LPCWSTR kLeftCenterRight[] = {L"LEFT", L"CENTER", L"RIGHT", NULL};
const LPCWSTR kVAlign[] = {L"TOP", L"CENTER", L"BOTTOM", NULL};
const LPCWSTR kOffsetType[] = {L"TOPLEFT",          L"TOPRIGHT",          L"TOPMIDDLE",      L"BOTTOMLEFT",
                               L"BOTTOMRIGHT",      L"BOTTOMMIDDLE",      L"MIDDLELEFT",     L"MIDDLERIGHT",
                               L"LEFTOFCAPTION",    L"RIGHTOFCAPTION",    L"LEFTOFLASTBUTTON", L"RIGHTOFLASTBUTTON",
                               L"ABOVELASTBUTTON",  L"BELOWLASTBUTTON",   NULL};
const LPCWSTR kIconEffect[] = {L"NONE", L"GLOW", L"SHADOW", L"PULSE", L"ALPHA", NULL};
const LPCWSTR kTextShadowType[] = {L"NONE", L"SINGLE", L"CONTINUOUS", NULL};
const LPCWSTR kGlyphType[] = {L"NONE", L"IMAGEGLYPH", L"FONTGLYPH", NULL};
const LPCWSTR kNoneSizeDpi[] = {L"NONE", L"SIZE", L"DPI", NULL};

struct EnumTable
{
    LPCWSTR property;
    const LPCWSTR* values;
};
const EnumTable kEnums[] = {
    {L"BGTYPE", kBgType},
    {L"IMAGELAYOUT", kImageLayout},
    {L"BORDERTYPE", kBorderType},
    {L"FILLTYPE", kFillType},
    {L"SIZINGTYPE", kSizingType},
    {L"HALIGN", kLeftCenterRight},
    {L"CONTENTALIGNMENT", kLeftCenterRight},
    {L"VALIGN", kVAlign},
    {L"OFFSETTYPE", kOffsetType},
    {L"ICONEFFECT", kIconEffect},
    {L"TEXTSHADOWTYPE", kTextShadowType},
    {L"GLYPHTYPE", kGlyphType},
    {L"IMAGESELECTTYPE", kNoneSizeDpi},
    {L"TRUESIZESCALINGTYPE", kNoneSizeDpi},
    {L"GLYPHFONTSIZINGTYPE", kNoneSizeDpi},
};
} // namespace

int GetSchemaClassId(LPCWSTR className)
{
    if (className == NULL || *className == 0)
        return 0;
    return IndexIn(kClasses, className, 1);
}

int GetSchemaPartId(LPCWSTR className, LPCWSTR partName)
{
    if (className == NULL)
        return 0;
    for (const ClassParts& entry : kParts)
        if (lstrcmpiW(entry.className, className) == 0)
            return IndexIn(entry.parts, partName, 1);
    return 0;
}

int GetSchemaStateId(LPCWSTR groupName, LPCWSTR stateName)
{
    if (groupName == NULL)
        return 0;
    for (const StateGroup& entry : kStates)
        if (IndexIn(entry.groups, groupName, 1) != 0)
            return IndexIn(entry.states, stateName, 1);
    return 0;
}

namespace
{
// The property names upper-cased (they are plain ASCII) with their ids and
// types, made once: a style file names a property on nearly every line.
struct PropertyEntry
{
    int id;
    int type;
};

BOOL AsciiUpper(LPCWSTR text, std::wstring& upper)
{
    upper.clear();
    for (const wchar_t* p = text; *p; ++p)
    {
        if (*p > 0x7F)
            return FALSE;
        upper += (*p >= L'a' && *p <= L'z') ? static_cast<wchar_t>(*p - L'a' + L'A') : *p;
    }
    return TRUE;
}

const std::unordered_map<std::wstring, PropertyEntry>& PropertyIndex()
{
    static const std::unordered_map<std::wstring, PropertyEntry>* index = [] {
        auto* map = new std::unordered_map<std::wstring, PropertyEntry>;
        std::wstring key;
        for (const PropertyRun& run : kProperties)
            for (int i = 0; run.names[i] != NULL; ++i)
                if (AsciiUpper(run.names[i], key))
                    map->emplace(key, PropertyEntry{run.firstId + i, run.type}); // the first of a name wins
        return map;
    }();
    return *index;
}
} // namespace

int GetSchemaPropertyId(LPCWSTR propertyName, int* type)
{
    if (propertyName == NULL)
        return 0;
    std::wstring key;
    if (AsciiUpper(propertyName, key))
    {
        const auto& index = PropertyIndex();
        auto it = index.find(key);
        if (it == index.end())
            return 0;
        if (type != NULL)
            *type = it->second.type;
        return it->second.id;
    }
    // Other characters are compared as the system compares them.
    for (const PropertyRun& run : kProperties)
    {
        int index = IndexIn(run.names, propertyName, 1);
        if (index != 0)
        {
            if (type != NULL)
                *type = run.type;
            return run.firstId + index - 1;
        }
    }
    return 0;
}

int GetSchemaEnumValue(LPCWSTR propertyName, LPCWSTR valueName)
{
    if (propertyName == NULL)
        return -1;
    for (const EnumTable& entry : kEnums)
        if (lstrcmpiW(entry.property, propertyName) == 0)
        {
            int value = IndexIn(entry.values, valueName, 1);
            return value - 1;
        }
    return -1;
}

int GetSchemaPropertyCount()
{
    int count = 0;
    for (const PropertyRun& run : kProperties)
        for (int i = 0; run.names[i] != NULL; i++)
            count++;
    return count;
}
