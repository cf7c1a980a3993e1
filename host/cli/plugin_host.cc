#include "host/cli/plugin_host.h"

#include <utility>

#include "channels/method_call.h"
#include "codec/standard_method_codec.h"
#include "host/cli/utf8_windows.h"

namespace clipboard_host {
namespace {

constexpr char kExport[] = "ClipboardPluginRegisterWithRegistrar";
using RegisterFunction = void (*)(FlutterDesktopPluginRegistrarRef);

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text != nullptr ? text : L"", length);
  if (text != nullptr) LocalFree(text);
  while (!message.empty() &&
         (message.back() == L'\n' || message.back() == L'\r' ||
          message.back() == L' ' || message.back() == L'.')) {
    message.pop_back();
  }
  if (message.empty()) return "error " + std::to_string(error);
  return Utf8FromWide(message);
}

}  // namespace

std::wstring DefaultPluginPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(),
                                      static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash + 1);
  return path + L"clipboard_plugin.dll";
}

std::unique_ptr<PluginHost> PluginHost::Load(const std::wstring& dll_path,
                                             std::string* error) {
  std::unique_ptr<PluginHost> host(new PluginHost());
  if (host->engine_.get() == nullptr) {
    *error = "cannot start the engine stand-in";
    return nullptr;
  }
  host->module_ = LoadLibraryW(dll_path.c_str());
  if (host->module_ == nullptr) {
    *error = "cannot load " + Utf8FromWide(dll_path) + ": " +
             SystemMessage(GetLastError());
    return nullptr;
  }
  auto register_plugin = reinterpret_cast<RegisterFunction>(
      reinterpret_cast<void*>(GetProcAddress(host->module_, kExport)));
  if (register_plugin == nullptr) {
    *error = Utf8FromWide(dll_path) + " has no export " + kExport;
    return nullptr;
  }
  register_plugin(host->engine_.registrar());
  return host;
}

PluginHost::~PluginHost() {
  if (module_ != nullptr) FreeLibrary(module_);
  engine_.Stop();
}

Answer PluginHost::Call(const Request& request) {
  flutter::MethodCall call(
      request.method,
      std::make_unique<flutter::EncodableValue>(request.arguments));
  std::unique_ptr<std::vector<uint8_t>> message =
      flutter::StandardMethodCodec::SharedInstance().EncodeCall(call);
  standin::Response response = engine_.Deliver(request.channel, *message);
  Answer answer;
  switch (response.state) {
    case kStandinNoHandler:
      answer.kind = Answer::Kind::kNoHandler;
      return answer;
    case kStandinPending:
      answer.kind = Answer::Kind::kNoAnswer;
      return answer;
    default:
      return DecodeReply(response.bytes);
  }
}

std::vector<std::vector<uint8_t>> PluginHost::TakeMessagesOn(
    const std::string& channel) {
  std::vector<std::vector<uint8_t>> messages;
  for (standin::OutboundMessage& message : engine_.TakeOutbound()) {
    if (message.channel == channel)
      messages.push_back(std::move(message.bytes));
  }
  return messages;
}

}  // namespace clipboard_host
