// The application every Qt test of one executable shares, on the offscreen
// platform unless one is asked for; it goes away after the last test so
// nothing of Qt outlives it. Linked into each test executable that builds
// widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class QtTestApplication final : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "velkaris-test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtTestApplication);

}  // namespace
