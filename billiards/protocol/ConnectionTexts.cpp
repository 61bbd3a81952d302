#include "billiards/protocol/ConnectionTexts.h"

#include "platform/text/Gbk.h"

namespace protocol::texts {

const std::string& ConnectFailed() {
    static const std::string text = platform::gbk::fromUtf8("游戏服务器连接失败");
    return text;
}

const std::string& NetworkFault() {
    static const std::string text = platform::gbk::fromUtf8("网络故障,重连服务器");
    return text;
}

const std::string& CannotConnect() {
    static const std::string text = platform::gbk::fromUtf8("不能连接服务器，游戏结束");
    return text;
}

} // namespace protocol::texts
