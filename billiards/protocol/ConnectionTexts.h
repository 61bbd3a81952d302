#pragma once
// The texts the connection shows, in GBK.

#include <string>

namespace protocol::texts {

const std::string& ConnectFailed(); // "游戏服务器连接失败"
const std::string& NetworkFault();  // "网络故障,重连服务器"
const std::string& CannotConnect(); // "不能连接服务器，游戏结束"

} // namespace protocol::texts
