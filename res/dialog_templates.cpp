#include "dialog_template.h"
#include "resource_ids.h"

namespace quillet::res {
namespace {

using enum ControlKind;

constexpr ControlTemplate kNameInputControls[] = {
    {kNameGroup, GroupBox, "编程资料", 7, 5, 263, 53},
    {kNameEdit, Edit, "", 15, 17, 247, 12, kAutoHScroll | kBorder},
    {kIdOk, DefaultPushButton, "确定", 184, 36, 36, 14},
    {kIdCancel, PushButton, "取消", 226, 36, 36, 14},
};

constexpr ControlTemplate kSiteInputControls[] = {
    {kNameGroup, GroupBox, "站点名称", 7, 5, 264, 31},
    {kSiteNameEdit, Edit, "", 15, 17, 247, 12, kAutoHScroll | kBorder},
    {kIdStatic, GroupBox, "站点地址", 7, 42, 264, 31},
    {kSiteAddressEdit, Edit, "", 15, 53, 247, 12, kAutoHScroll | kBorder},
    {kIdStatic, GroupBox, "站点介绍", 7, 79, 264, 56},
    {kSiteDescriptionEdit, MultiLineEdit, "", 15, 93, 247, 36, kAutoHScroll | kBorder},
    {kIdOk, DefaultPushButton, "确定", 171, 142, 47, 14},
    {kIdCancel, PushButton, "取消", 224, 142, 47, 14},
};

constexpr ControlTemplate kTipControls[] = {
    {kTipPanel, Frame, "", 7, 7, 217, 118},
    {kTipText, Label, "Some String", 52, 38, 164, 82, kWordWrap},
    {kTipShowAtStartUp, CheckBox, "启动时显示", 7, 133, 90, 12},
    {kTipNext, PushButton, "下一条", 116, 131, 50, 14},
    {kIdOk, DefaultPushButton, "关  闭", 174, 131, 50, 14},
};

constexpr ControlTemplate kStartOptionsControls[] = {
    {kIdStatic, GroupBox, "资料栏位置", 7, 7, 90, 74},
    {kOptionBarLeft, RadioButton, "左", 17, 21, 60, 12, kGroupStart},
    {kOptionBarRight, RadioButton, "右", 17, 35, 60, 12},
    {kOptionBarTop, RadioButton, "上", 17, 49, 60, 12},
    {kOptionBarBottom, RadioButton, "下", 17, 63, 60, 12},
    {kIdStatic, GroupBox, "启动默认模式", 105, 7, 126, 74},
    {kOptionEntryMode, RadioButton, "录入模式", 115, 21, 100, 12, kGroupStart},
    {kOptionReadingMode, RadioButton, "阅读模式", 115, 35, 100, 12},
    {kOptionHiddenMode, RadioButton, "隐藏到系统区", 115, 49, 100, 12},
    {kOptionMaximize, CheckBox, "“录入模式”窗口在启动的时候最大化", 9, 88, 220, 12},
    {kIdOk, DefaultPushButton, "确定", 124, 106, 50, 14},
    {kIdCancel, PushButton, "取消", 181, 106, 50, 14},
};

constexpr ControlTemplate kAboutControls[] = {
    {kAboutPicture, Frame, "", 0, 0, 240, 124},
    {kAboutVersion, Label, "Version 1.01 ( Build 2001-07-01 )", 10, 130, 220, 10},
};

constexpr ControlTemplate kDataBarControls[] = {
    {kDataBarTabs, TabBar, "", 0, 0, 98, 16},
    {kDataBarCategories, DropDownList, "", 4, 20, 89, 13},
    {kDataBarTree, TreeView, "", 4, 37, 89, 50},
    {kDataBarAlwaysOnTop, CheckBox, "总保持在窗口的最前面", 0, 94, 96, 10},
    {kDataBarHiddenEdit, Edit, "", 6, 21, 82, 12},
};

constexpr ControlTemplate kCardCaptureControls[] = {
    {kCaptureCategoryFrame, GroupBox, "", 4, 2, 192, 26},
    {kCaptureCategories, DropDownList, "", 10, 10, 180, 13},
    {kCaptureNameFrame, GroupBox, "卡片名称", 4, 30, 192, 28},
    {kCaptureName, DragEdit, "", 10, 41, 180, 12},
    {kCaptureSecondFrame, GroupBox, "卡片内容", 4, 60, 192, 106},
    {kCaptureSecond, MultiLineDragEdit, "", 10, 71, 180, 90},
    {kIdOk, DefaultPushButton, "加入这个资料卡片", 4, 170, 95, 14},
    {kIdCancel, PushButton, "返回到录入模式", 101, 170, 95, 14},
    {kCaptureShrink, PushButton, "缩小本窗口", 4, 186, 95, 14},
    {kCaptureHideMain, PushButton, "隐藏主窗口", 101, 186, 95, 14},
};

constexpr ControlTemplate kSiteCaptureControls[] = {
    {kCaptureCategoryFrame, GroupBox, "", 4, 2, 192, 26},
    {kCaptureCategories, DropDownList, "", 10, 10, 180, 13},
    {kCaptureNameFrame, GroupBox, "站点名称", 4, 30, 192, 28},
    {kCaptureName, DragEdit, "", 10, 41, 180, 12},
    {kCaptureSecondFrame, GroupBox, "站点地址", 4, 60, 192, 28},
    {kCaptureSecond, DragEdit, "", 10, 71, 180, 12},
    {kCaptureDescriptionFrame, GroupBox, "站点介绍", 4, 90, 192, 76},
    {kCaptureDescription, MultiLineDragEdit, "", 10, 101, 180, 60},
    {kIdOk, DefaultPushButton, "加入这个资料卡片", 4, 170, 95, 14},
    {kIdCancel, PushButton, "返回到录入模式", 101, 170, 95, 14},
    {kCaptureShrink, PushButton, "缩小本窗口", 4, 186, 95, 14},
    {kCaptureHideMain, PushButton, "隐藏主窗口", 101, 186, 95, 14},
};

constexpr ControlTemplate kRestoreControls[] = {
    {kCaptureRestore, DefaultPushButton, "还原", 2, 2, 31, 14},
};

constexpr ControlTemplate kCardViewerControls[] = {
    {kIdOk, DefaultPushButton, "关闭窗口", 5, 5, 50, 14},
    {kViewerText, MultiLineDragEdit, "", 62, 5, 134, 65, kBorder},
    {kViewerShrink, PushButton, "窗口缩小", 5, 22, 50, 14},
    {kViewerAction, PushButton, "全选", 5, 39, 50, 14},
    {kViewerCopy, PushButton, "复制", 5, 56, 50, 14},
};

constexpr ControlTemplate kSearchControls[] = {
    {kIdStatic, GroupBox, "搜索方式", 7, 7, 173, 25},
    {kSearchByName, RadioButton, "按卡片名", 11, 18, 48, 10, kGroupStart},
    {kSearchByContent, RadioButton, "按卡片内容", 64, 18, 56, 10},
    {kSearchByBoth, RadioButton, "两者都有", 125, 18, 48, 10},
    {kIdStatic, GroupBox, "标签选择", 7, 34, 173, 39},
    {kSearchLibrary0, CheckBox, "包含“编程资料”", 15, 46, 80, 10},
    {kSearchLibrary1, CheckBox, "包含“软件资料”", 99, 46, 80, 10},
    {kSearchLibrary2, CheckBox, "包含“我的资料”", 15, 57, 80, 10},
    {kSearchLibrary3, CheckBox, "包含“网络资源”", 99, 57, 80, 10},
    {kSearchProgressGroup, GroupBox, "按开始按钮进行搜索", 7, 75, 173, 34},
    {kSearchStatus, Label, "准备查找", 13, 87, 161, 19},
    {kIdCancel, PushButton, "开始", 113, 114, 32, 14},
    {kSearchCancel, PushButton, "取消", 148, 114, 32, 14},
    {kIdStatic, Label, "共找到资料卡片数：", 7, 120, 73, 8},
    {kSearchFoundCount, Label, "0", 81, 118, 24, 10},
};

constexpr ControlTemplate kReadingControls[] = {
    {kReadingTabs, TabBar, "", 2, 23, 167, 264},
    {kReadingCategories, DropDownList, "", 18, 30, 147, 112},
    {kReadingSearchText, Edit, "", 18, 31, 101, 12, kAutoHScroll},
    {kReadingSearchButton, PushButton, "搜索", 126, 31, 39, 12},
    {kReadingTree, TreeView, "", 18, 48, 147, 234},
};

constexpr ControlTemplate kImportControls[] = {
    {kImportGroup, GroupBox, "请输入要导入的文件名", 7, 7, 203, 30},
    {kImportFile, Edit, "", 14, 19, 160, 13, kAutoHScroll},
    {kImportBrowse, PushButton, "...", 178, 19, 25, 13},
    {kImportOverwrite, CheckBox, "导入过程中若有重复的卡片，则直接覆盖原有资料", 7, 42, 203, 10},
    {kImportStart, DefaultPushButton, "导入", 100, 58, 50, 14},
    {kImportExit, PushButton, "退出", 160, 58, 50, 14},
    {kIdCancel, PushButton, "返回", 160, 58, 50, 14},
    {kImportLog, ListBox, "", 7, 80, 203, 82},
};

constexpr ControlTemplate kStatisticsControls[] = {
    {kIdStatic, GroupBox, "", 7, 4, 224, 112},
    {kStatisticsList, ListBox, "", 13, 12, 212, 98},
    {kStatisticsOrderCards, PushButton, "当前类别卡片顺序调整", 7, 122, 110, 14},
    {kIdOk, DefaultPushButton, "返回", 181, 122, 50, 14},
};

constexpr ControlTemplate kOrderControls[] = {
    {kOrderList, ListView, "", 7, 7, 210, 159},
    {kOrderUp, PushButton, "上移一行", 227, 7, 59, 14},
    {kOrderDown, PushButton, "下移一行", 227, 25, 59, 14},
    {kOrderTop, PushButton, "移到顶端", 227, 43, 59, 14},
    {kOrderBottom, PushButton, "移到底端", 227, 61, 59, 14},
    {kIdOk, DefaultPushButton, "确定", 227, 134, 59, 14},
    {kIdCancel, PushButton, "取消", 227, 152, 59, 14},
};

constexpr ControlTemplate kOrganizeControls[] = {
    {kOrganizeTabs, TabBar, "", 7, 7, 150, 14},
    {kOrganizeCategories, DropDownList, "", 7, 24, 150, 13},
    {kOrganizeSource, TreeView, "", 7, 40, 150, 187},
    {kOrganizeCopy, PushButton, "复制>>>", 163, 7, 56, 14},
    {kOrganizeCut, PushButton, "剪切>>>", 163, 25, 56, 14},
    {kOrganizeSourceAll, PushButton, "<<<全选", 163, 47, 56, 14},
    {kOrganizeSourceInvert, PushButton, "<<<反选", 163, 65, 56, 14},
    {kOrganizePaste, PushButton, "<<<粘贴", 163, 87, 56, 14},
    {kOrganizeClipboardAll, PushButton, "全选>>>", 163, 109, 56, 14},
    {kOrganizeClipboardInvert, PushButton, "反选>>>", 163, 127, 56, 14},
    {kOrganizeClear, PushButton, "清空>>>", 163, 145, 56, 14},
    {kIdStatic, Label, "若卡片存在，\n则：", 163, 166, 56, 16},
    {kOrganizeSkip, RadioButton, "跳过忽略", 163, 184, 56, 10, kGroupStart},
    {kOrganizeOverwrite, RadioButton, "直接覆盖", 163, 196, 56, 10},
    {kIdOk, DefaultPushButton, "< 退出 >", 163, 213, 56, 14},
    {kIdStatic, GroupBox, "青榆剪切板", 225, 4, 107, 223},
    {kOrganizeClipboard, TreeView, "", 231, 16, 95, 205},
};

constexpr ControlTemplate kFavoritesControls[] = {
    {kIdStatic, GroupBox, "IE收藏夹位置", 7, 7, 264, 30},
    {kFavoritesFolder, Edit, "", 14, 19, 174, 13, kAutoHScroll},
    {kFavoritesChange, PushButton, "修改", 193, 19, 36, 13},
    {kFavoritesDefault, PushButton, "默认", 231, 19, 36, 13},
    {kFavoritesLog, ListBox, "", 7, 42, 264, 95},
    {kFavoritesOverwrite, CheckBox, "若重复覆盖", 7, 145, 80, 10},
    {kIdOk, DefaultPushButton, "导出", 160, 143, 50, 14},
    {kFavoritesExit, PushButton, "退出", 221, 143, 50, 14},
};

constexpr ControlTemplate kRecycleBinControls[] = {
    {kRecycleBinItems, TreeView, "", 7, 7, 346, 120},
    {kRecycleBinPreview, MultiLineEdit, "", 7, 132, 346, 60, kBorder},
    {kRecycleBinRestore, DefaultPushButton, "还原", 7, 198, 60, 14},
    {kRecycleBinEmpty, PushButton, "清空回收站", 73, 198, 60, 14},
    {kIdCancel, PushButton, "关闭", 293, 198, 60, 14},
};

constexpr DialogTemplate kTemplates[] = {
    {kCardCaptureDialog, "收集资料", 200, 204, kCardCaptureControls},
    {kSiteCaptureDialog, "收集站点", 200, 204, kSiteCaptureControls},
    {kRestoreDialog, "", 35, 18, kRestoreControls},
    {kDataBarDialog, "", 98, 104, kDataBarControls},
    {kAboutDialog, "关于 Quillet", 240, 146, kAboutControls},
    {kTipDialog, "每日一帖：", 231, 152, kTipControls},
    {kStartOptionsDialog, "启动选项：[程序启动时默认选项]", 238, 127, kStartOptionsControls},
    {kNameInputDialog, "请输入信息：", 277, 65, kNameInputControls},
    {kSiteInputDialog, "请输入站点信息：", 278, 163, kSiteInputControls},
    {kCardViewerDialog, "", 202, 76, kCardViewerControls},
    {kSearchDialog, "", 187, 136, kSearchControls},
    {kReadingDialog, "", 169, 288, kReadingControls},
    {kImportDialog, "资料导入：", 217, 169, kImportControls},
    {kStatisticsDialog, "资料统计：", 238, 143, kStatisticsControls},
    {kOrderDialog, "卡片顺序整理：", 293, 173, kOrderControls},
    {kOrganizeDialog, "资料整理工具：", 339, 234, kOrganizeControls},
    {kFavoritesDialog, "网络资源－站点导出：", 278, 163, kFavoritesControls},
    {kRecycleBinDialog, "回收站", 360, 219, kRecycleBinControls},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate& dialog : kTemplates) {
        if (dialog.id == id) {
            return &dialog;
        }
    }
    return nullptr;
}

}  // namespace quillet::res
