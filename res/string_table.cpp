#include "string_table.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace quillet::res {
namespace {

// Sorted by id.
constexpr std::pair<int, std::string_view> kStrings[] = {
    {105, "Displays a Tip of the Day."},
    {107, "你知道吗？..."},
    {108, "Tips file does not exist in the prescribed directory"},
    {109, "Trouble reading the tips file"},
    {32773, "创建新类别\n创建新类别"},
    {32775, "创建新卡片\n创建新卡片"},
    {32776, "删除当前类别\n删除当前类别"},
    {32777, "删除当前卡片\n删除当前卡片"},
    {32780, "隐藏/显示资料栏\n隐藏/显示资料栏"},
    {32781, "切换到阅读模式\n切换到阅读模式"},
    {32783, "修改类别名称\n修改类别名称"},
    {32785, "修改卡片名称\n修改卡片名称"},
    {32787, "总在所有窗口前面\n总在所有窗口前面"},
    {32788, "设置启动参数\n设置启动参数"},
    {32789, "将备份文件导入\n将备份文件导入"},
    {32790, "备份所有资料到文件中\n备份所有资料到文件中"},
    {32791, "卡片顺序整理\n卡片顺序整理"},
    {32792, "下一个资料卡片\n下一个资料卡片"},
    {32793, "上一个资料卡片\n上一个资料卡片"},
    {32801, "保存当前卡片\n保存当前卡片"},
    {32802, "资料统计 \n资料统计 "},
    {32805, "全选\n全选"},
    {32810, "隐藏到系统区\n隐藏到系统区"},
    {32812, "进入录入模式\n进入录入模式"},
    {32813, "进入阅读模式\n进入阅读模式"},
    {32817, "切换到录入模式\n切换到录入模式"},
    {32820, "隐藏到系统区\n隐藏到系统区"},
    {32821, "退出系统\n退出系统"},
    {32822, "启动参数设置\n启动参数设置"},
    {32829, "查看卡片内容\n查看卡片内容"},
    {32830, "上一张卡片\n上一张卡片"},
    {32831, "下一张卡片\n下一张卡片"},
    {32832, "卡片另存为 \n将卡片导出文本文件"},
    {32833, "访问这个站点\n访问这个站点"},
    {32835, "上网寻找最新资料包\n上网寻找最新资料包"},
    {32836, "给作者发送电子邮件\n给作者发送电子邮件"},
    {32837, "帮助主题\n帮助主题"},
    {32838, "删除当前所有卡片\n删除当前所有卡片"},
    {32861, "查看删除的卡片和类别，把它们放回原处\n回收站"},
    {32860, "把最近一次删除的卡片或类别从回收站放回原处\n撤销删除"},
    {32839, "删除所有类别\n删除所有类别"},
    {32840, "资料整理\n资料整理"},
    {32844, "类别顺序整理\n类别顺序整理"},
    {32845, "导出站点到IE收藏夹\n导出站点到IE收藏夹"},
    {32846, "从IE收藏夹中导入站点\n从IE收藏夹中导入站点"},
    {57600, "建立新文档\n新建"},
    {57601, "打开一个现有文档\n打开"},
    {57603, "保存活动文档\n保存"},
    {57607, "打印活动文档\n打印"},
    {57634, "复制选定内容并将其放到剪贴板上\n复制"},
    {57635, "剪切选定内容并将其放到剪贴板上\n剪切"},
    {57637, "插入剪贴板内容\n粘贴"},
    {57643, "撤消最后一步操作\n撤消"},
    {57664, "显示程序信息，版本号和版权\n关于"},
    {57665, "退出应用程序；提示保存文档\n退出"},
};

}  // namespace

std::string_view LoadString(int id) {
    const auto found = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                        [](const auto& entry, int key) { return entry.first < key; });
    return found != std::end(kStrings) && found->first == id ? found->second : std::string_view();
}

std::string_view ToolTipOf(int id) {
    const std::string_view text = LoadString(id);
    const std::size_t cut = text.find('\n');
    return cut == std::string_view::npos ? text : text.substr(cut + 1);
}

std::string_view FlyByOf(int id) {
    const std::string_view text = LoadString(id);
    return text.substr(0, text.find('\n'));
}

}  // namespace quillet::res
