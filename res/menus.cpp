#include "menus.h"

namespace quillet::res {
namespace {

constexpr MenuItem kMaterial[] = {
    {32788, "启动选项    (&Q)"},
    {32802, "资料统计    (&F)"},
    {0, ""},
    {32789, "资料导入    (&I)"},
    {32790, "资料导出    (&O)"},
    {32840, "资料整理    (&S)"},
    {32861, "回收站      (&B)"},
    {0, ""},
    {57607, "打印(&P)...\tCtrl+P"},
    {57609, "打印预览(&V)"},
    {57606, "打印设置(&R)..."},
    {0, ""},
    {57665, "退出(&X)"},
};
constexpr MenuItem kCategory[] = {
    {32773, "创建新类别   (&N)"},
    {32783, "修改类别名称 (&C)"},
    {32776, "删除当前类别 (&D)"},
    {32839, "删除所有类别 (&A)"},
    {0, ""},
    {32844, "类别顺序整理 (&S)"},
};
constexpr MenuItem kCard[] = {
    {32775, "创建新卡片   (&N)"},
    {32801, "保存当前卡片 (&S)\tCtrl+S"},
    {32785, "修改卡片名称 (&C)"},
    {32777, "删除当前卡片 (&D)"},
    {32838, "删除当前所有卡片"},
    {32860, "撤销删除     (&U)"},
    {0, ""},
    {32832, "卡片另存为   (&A)"},
    {32791, "卡片顺序整理 (&R)"},
    {0, ""},
    {32793, "上一个资料卡片"},
    {32792, "下一个资料卡片"},
    {0, ""},
    {32846, "从IE收藏夹中导入站点"},
    {32845, "导出站点到IE收藏夹"},
};
constexpr MenuItem kView[] = {
    {32780, "隐藏/显示资料栏  (&T)"}, {32781, "切换到阅读模式   (&R)"}, {32810, "隐藏到系统区     (&H)"}, {0, ""},
    {32787, "总在所有窗口前面 (&Z)"},
};
constexpr MenuItem kEdit[] = {
    {57643, "撤消(&U)\tCtrl+Z"}, {0, ""},
    {57635, "剪切(&T)\tCtrl+X"}, {57634, "复制(&C)\tCtrl+C"},
    {57637, "粘贴(&P)\tCtrl+V"}, {32805, "全选(&A)"},
};
constexpr MenuItem kHelp[] = {
    {57664, "关于 Quillet(&A)..."}, {32837, "帮助主题    (&H)"},   {0, ""},
    {32835, "上网寻找最新资料包"},  {32836, "给作者发送反馈信息"},
};
constexpr Menu kMainMenu[] = {
    {"资料(&F)", kMaterial}, {"类别(&L)", kCategory}, {"卡片(&K)", kCard},
    {"查看(&V)", kView},     {"编辑(&E)", kEdit},     {kHelpMenuTitle, kHelp},
};

constexpr MenuItem kPopupCategory[] = {
    {32773, "创建新类别"},   {32783, "修改类别名称"}, {32838, "删除类别中所有卡片"}, {32776, "删除当前类别"}, {0, ""},
    {32844, "类别顺序整理"},
};
constexpr MenuItem kPopupCard[] = {
    {32775, "创建新卡片"},   {32785, "修改卡片名称"}, {32777, "删除当前卡片"},
    {32860, "撤销删除"},     {32832, "卡片另存为"},   {0, ""},
    {32791, "卡片顺序整理"},
};
constexpr MenuItem kPopupReadingCard[] = {{32829, "查看当前卡片"}, {32832, "卡片另存为"}, {32791, "卡片顺序整理"}};
constexpr MenuItem kPopupReadingSite[] = {{32833, "访问这个站点"}, {32832, "卡片另存为"}, {32791, "卡片顺序整理"}};
constexpr MenuItem kPopupSearchHit[] = {{32829, "查看当前卡片"}, {32832, "卡片另存为"}};
constexpr MenuItem kPopupSite[] = {
    {32833, "访问当前站点"},
    {0, ""},
    {32775, "添加新站点"},
    {32785, "修改站点描述名称"},
    {32777, "删除当前站点"},
    {32860, "撤销删除"},
    {0, ""},
    {32832, "站点内容另存为"},
    {32791, "站点顺序整理"},
    {0, ""},
    {32846, "从IE收藏夹中导入站点"},
    {32845, "导出站点到IE收藏夹"},
};
constexpr Menu kContextMenus[] = {
    {"POPMENU1", kPopupCategory},    {"POPMENU2", kPopupCard},      {"POPMENU3", kPopupReadingCard},
    {"POPMENU4", kPopupReadingSite}, {"POPMENU5", kPopupSearchHit}, {"POPMENU2", kPopupSite},
};

constexpr MenuItem kTrayItems[] = {
    {32812, "进入录入模式(&W)"},    {32813, "进入阅读模式(&R)"}, {0, ""},
    {32788, "启动选项    (&Q)"},    {32802, "资料统计    (&T)"}, {0, ""},
    {57664, "关于 Quillet(&A)..."}, {57665, "退出系统    (&X)"},
};
constexpr Menu kTrayMenu{"SYS", kTrayItems};

constexpr int kToolbar[] = {32780, 32802, 0,     32773, 32783, 32776, 0, 32775, 32801, 32793, 32792, 32785, 32777,
                            0,     32805, 57643, 57635, 57634, 57637, 0, 32781, 32810, 57607, 57664, 57665};
constexpr int kReadingToolbar[] = {32822, 32802, 0, 32829, 32830, 32831, 0, 32817, 32820, 57664, 32821};

}  // namespace

std::span<const Menu> MainMenu() { return kMainMenu; }
std::span<const Menu> ContextMenus() { return kContextMenus; }
std::span<const int> ToolbarCommands() { return kToolbar; }
std::span<const int> ReadingToolbarCommands() { return kReadingToolbar; }
const Menu& TrayMenu() { return kTrayMenu; }

}  // namespace quillet::res
