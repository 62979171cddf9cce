#include "store_error.h"

#include <cerrno>

namespace quillet {

std::string DescribeErrno(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "文件或文件夹不存在";
        case EACCES:
        case EPERM:
            return "没有访问权限";
        case EROFS:
            return "文件系统是只读的";
        case ENOSPC:
        case EDQUOT:
            return "磁盘空间不足";
        case EISDIR:
            return "这是一个文件夹";
        case ENOTDIR:
            return "路径中有一部分不是文件夹";
        case EIO:
            return "读写设备出错";
        case EEXIST:
            return "文件已经存在";
        case ENAMETOOLONG:
            return "文件名太长";
        case EMFILE:
        case ENFILE:
            return "打开的文件太多";
        default:
            return "系统错误（代码 " + std::to_string(errorNumber) + "）";
    }
}

std::string StoreError::Message() const {
    const std::string name = file.string();
    switch (kind) {
        case StoreErrorKind::None:
            return {};
        case StoreErrorKind::CannotOpen:
            return "无法打开文件“" + name + "”：" + reason;
        case StoreErrorKind::BadHeader:
            return "文件格式非法！不能读出：" + name;
        case StoreErrorKind::Damaged:
            return "文件“" + name + "”已损坏：" + reason;
        case StoreErrorKind::CannotWrite:
            return "无法写入文件“" + name + "”：" + reason;
        case StoreErrorKind::CannotDelete:
            return "无法删除文件“" + name + "”：" + reason;
        case StoreErrorKind::CannotRename:
            return "无法改名文件“" + name + "”：" + reason;
    }
    return reason;
}

StoreError StoreError::FromErrno(StoreErrorKind kind, const std::filesystem::path& file, int errorNumber) {
    return StoreError{kind, file, DescribeErrno(errorNumber)};
}

}  // namespace quillet
