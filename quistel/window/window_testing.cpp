#include "window/window_testing.h"

namespace quistel {
namespace {

class QtApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "quistel_window_test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const testing::Environment* const kQt =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
}  // namespace quistel
