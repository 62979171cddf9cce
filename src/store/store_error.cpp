#include "store_error.h"

#include <cerrno>
#include <cstring>

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
        case ELOOP:
            return "路径中有太多层符号链接，或者是不允许跟随的符号链接";
        case ETXTBSY:
        case EBUSY:
            return "文件正在被使用";
        case EFBIG:
            return "文件太大";
        case EAGAIN:
            return "资源暂时不可用，请稍后再试";
        case EINVAL:
            return "参数无效";
        case ENXIO:
        case ENODEV:
            return "设备不存在";
        case EXDEV:
            return "不能跨文件系统移动文件";
        case ENOTEMPTY:
            return "文件夹不是空的";
        case EMLINK:
            return "链接太多";
        case ESTALE:
            return "网络文件系统的文件已经失效";
        case ENOLCK:
            return "无法加锁";
        case ENOMEM:
            return "内存不足";
        case EINTR:
            return "操作被中断";
        case EPIPE:
            return "管道已经关闭";
        case ESPIPE:
            return "这不是可以随意读写的普通文件";
        case EOVERFLOW:
            return "数值超出范围";
        case ETIMEDOUT:
            return "操作超时";
        default:
            // Said in the system's own words rather than as a bare number.
            return "系统错误：" + std::string(std::strerror(errorNumber)) + "（代码 " + std::to_string(errorNumber) +
                   "）";
    }
}

std::string StoreError::Message() const {
    const std::string name = file.string();
    switch (kind) {
        case StoreErrorKind::None:
            return {};
        case StoreErrorKind::CannotOpen:
            return "无法打开文件“" + name + "”：" + reason;
        case StoreErrorKind::CannotRead:
            return "读取文件“" + name + "”失败：" + reason;
        case StoreErrorKind::Locked:
        case StoreErrorKind::Refused:
            return reason + (name.empty() ? std::string() : "（" + name + "）");
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
