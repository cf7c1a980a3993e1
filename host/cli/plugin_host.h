// Runs the plug-in DLL the way an application's engine does: loads it by
// path, registers it through its export with a stand-in engine, and delivers
// encoded method calls to it.
#ifndef HOST_CLI_PLUGIN_HOST_H_
#define HOST_CLI_PLUGIN_HOST_H_

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/cli/answer.h"
#include "host/cli/request.h"
#include "host/standin/standin_engine.h"

namespace clipboard_host {

// clipboard_plugin.dll in the folder of the running program.
std::wstring DefaultPluginPath();

class PluginHost {
 public:
  // Null, with `error` set, when the DLL cannot be loaded or lacks the export.
  static std::unique_ptr<PluginHost> Load(const std::wstring& dll_path,
                                          std::string* error);
  // Unloads the plug-in while the engine still runs, so that its handlers
  // leave the engine in order, then stops the engine.
  ~PluginHost();

  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  Answer Call(const Request& request);

  // The messages that the plug-in sent on `channel` since the last take.
  std::vector<std::vector<uint8_t>> TakeMessagesOn(const std::string& channel);

 private:
  PluginHost() = default;

  standin::Engine engine_;
  HMODULE module_ = nullptr;
};

}  // namespace clipboard_host

#endif  // HOST_CLI_PLUGIN_HOST_H_
