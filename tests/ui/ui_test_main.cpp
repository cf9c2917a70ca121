// One QApplication for the window tests. It is made when the tests run, not when ctest lists
// them, so listing needs no display platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  QtEnvironment(int& argc, char** argv) : argc_(argc), argv_(argv) {}
  void SetUp() override {
    // Qt's settings (the file dialog's folders and columns) go to a test place, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int& argc_;
  char** argv_;
  std::unique_ptr<QApplication> app_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new QtEnvironment(argc, argv));
  return RUN_ALL_TESTS();
}
