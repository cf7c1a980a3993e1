#ifndef CHANNELS_FLUTTER_VIEW_H_
#define CHANNELS_FLUTTER_VIEW_H_

#include "channels/flutter_engine_api.h"

namespace flutter {

// The host's view of the application.
class FlutterView {
 public:
  // `view` is borrowed.
  explicit FlutterView(FlutterDesktopViewRef view) : view_(view) {}
  virtual ~FlutterView() = default;

  FlutterView(const FlutterView&) = delete;
  FlutterView& operator=(const FlutterView&) = delete;

  FlutterDesktopViewRef engine_view() const { return view_; }

 private:
  FlutterDesktopViewRef view_;
};

}  // namespace flutter

#endif  // CHANNELS_FLUTTER_VIEW_H_
