#include "support/standin.h"

#include <gtest/gtest.h>
#include <winsock2.h>

#include <cctype>
#include <cstdio>
#include <sstream>

#include "base/text_encoding.h"
#include "build_config.h"

namespace tavrin::test {
namespace {

std::wstring PercentEncoded(std::string_view bytes) {
  std::wstring out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || byte == '-' || byte == '.' || byte == '_' || byte == '~') {
      out.push_back(static_cast<wchar_t>(byte));
    } else {
      wchar_t escaped[4];
      std::swprintf(escaped, 4, L"%%%02X", byte);
      out += escaped;
    }
  }
  return out;
}

std::wstring PercentEncoded(const std::wstring& text) { return PercentEncoded(WideToUtf8(text)); }

std::wstring Hex(const std::string& bytes) {
  std::wstring out;
  for (const char c : bytes) {
    wchar_t pair[3];
    std::swprintf(pair, 3, L"%02x", static_cast<unsigned char>(c));
    out += pair;
  }
  return out;
}

}  // namespace

StandIn::StandIn() : base_(build::kApiUrl) {}

bool StandIn::Available() {
  std::wstring body;
  return base_.starts_with(L"http://127.0.0.1:") &&
         SystemHttp().Get(base_ + L"/_control/info", {}, BodyDecoding::kUtf8, body) &&
         body.find(L"http_port") != std::wstring::npos;
}

std::wstring StandIn::Control(const std::wstring& command, const std::wstring& query) {
  std::wstring body;
  const std::wstring url = base_ + L"/_control/" + command + (query.empty() ? L"" : L"?" + query);
  EXPECT_TRUE(SystemHttp().Get(url, {}, BodyDecoding::kUtf8, body)) << "stand-in: " << command;
  return body;
}

void StandIn::Reset() { Control(L"reset"); }

void StandIn::Reply(const std::wstring& path, const ScriptedReply& reply) {
  std::wstring query =
      L"path=" + PercentEncoded(path) + L"&status=" + std::to_wstring(reply.status) +
      L"&body_hex=" + Hex(reply.body) + L"&repeat=" + std::to_wstring(reply.repeat) + L"&delay=" +
      std::to_wstring(reply.delayMs / 1000.0) + (reply.drop ? L"&drop=1" : L"") + L"&chunk=" +
      std::to_wstring(reply.chunkBytes) + L"&pause=" + std::to_wstring(reply.pauseMs / 1000.0);
  for (const HttpHeader& header : reply.headers) {
    query += L"&header=" + PercentEncoded(header.name + L": " + header.value);
  }
  Control(L"reply", query);
}

std::vector<std::wstring> StandIn::Requests() {
  std::wistringstream log(Control(L"log"));
  std::vector<std::wstring> requests;
  for (std::wstring line; std::getline(log, line);) {
    if (line.starts_with(L"{\"scheme\"")) requests.push_back(line);
  }
  return requests;
}

unsigned short StandIn::HttpsPort() {
  const std::wstring info = Control(L"info");
  const std::size_t key = info.find(L"\"https_port\":");
  return key == std::wstring::npos ? 0
                                   : static_cast<unsigned short>(std::stoi(info.substr(key + 13)));
}

std::string StandIn::CaPem() { return WideToUtf8(Control(L"ca")); }

std::wstring RefusingUrl(const std::wstring& path) {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(probe);
  WSACleanup();
  return L"http://127.0.0.1:" + std::to_wstring(ntohs(address.sin_port)) + path;
}

}  // namespace tavrin::test
