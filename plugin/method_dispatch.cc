#include "plugin/method_dispatch.h"

#include <cstdint>
#include <string>

#include "codec/encodable_value.h"
#include "plugin/copy_multiple.h"
#include "plugin/image_operations.h"
#include "plugin/rich_text_operations.h"
#include "plugin/text_operations.h"

namespace clipboard {
namespace {

using flutter::EncodableMap;
using flutter::EncodableValue;
using flutter::MethodResult;
using Result = std::unique_ptr<MethodResult>;

// Every row has this shape; the rows that take no arguments ignore them.
using Handler = void (*)(const EncodableMap* arguments, Result result);

struct Route {
  const char* name;
  Handler handler;
};

// Fixed answers: there is no content detection and no monitoring.
void AnswerUnknownContentType(const EncodableMap*, Result result) {
  result->Success(EncodableValue("unknown"));
}
void AnswerFalse(const EncodableMap*, Result result) {
  result->Success(EncodableValue(false));
}
void AnswerTrue(const EncodableMap*, Result result) {
  result->Success(EncodableValue(true));
}
void AnswerZeroSize(const EncodableMap*, Result result) {
  result->Success(EncodableValue(int32_t{0}));
}

constexpr Route kRoutes[] = {
    {"copy", &Copy},
    {"copyRichText", &CopyRichText},
    {"copyMultiple", &CopyMultiple},
    {"copyImage", &CopyImage},
    {"paste", [](const EncodableMap*, Result r) { Paste(std::move(r)); }},
    {"pasteRichText",
     [](const EncodableMap*, Result r) { PasteRichText(std::move(r)); }},
    {"pasteImage",
     [](const EncodableMap*, Result r) { PasteImage(std::move(r)); }},
    {"getContentType", &AnswerUnknownContentType},
    {"hasData", &AnswerFalse},
    {"clear", [](const EncodableMap*, Result r) { Clear(std::move(r)); }},
    {"getDataSize", &AnswerZeroSize},
    {"startMonitoring", &AnswerTrue},
    {"stopMonitoring", &AnswerTrue},
};

}  // namespace

void HandleMethodCall(const flutter::MethodCall& call, Result result) {
  const EncodableMap* arguments =
      flutter::get_if<EncodableMap>(call.arguments());
  for (const Route& route : kRoutes) {
    if (call.method_name() == route.name) {
      route.handler(arguments, std::move(result));
      return;
    }
  }
  result->NotImplemented();
}

}  // namespace clipboard
