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

constexpr DialogTemplate kTemplates[] = {
    {kNameInputDialog, "请输入信息：", 277, 65, kNameInputControls},
    {kSiteInputDialog, "请输入站点信息：", 278, 163, kSiteInputControls},
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
