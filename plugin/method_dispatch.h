#ifndef PLUGIN_METHOD_DISPATCH_H_
#define PLUGIN_METHOD_DISPATCH_H_

#include <memory>

#include "channels/method_call.h"
#include "channels/method_result.h"

namespace clipboard {

// Routes one call of the method channel by its exact name to its operation,
// or answers it with the method's fixed value, or as not implemented for an
// unknown name. The call's arguments reach the copy operations only when
// they are a map. `result` is answered exactly once and destroyed before
// this returns.
void HandleMethodCall(const flutter::MethodCall& call,
                      std::unique_ptr<flutter::MethodResult> result);

}  // namespace clipboard

#endif  // PLUGIN_METHOD_DISPATCH_H_
