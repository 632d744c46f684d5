#include <QApplication>
#include <gtest/gtest.h>

namespace {

// Widget tests need one QApplication for the whole test program; the offscreen platform
// is set by ctest, and here too for a test program started by hand.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // As the program starts (prepareForEmbeddedPlayer): a native player host does not make
        // its siblings native.
        QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
        static int argc = 1;
        static char name[] = "vidora_tests";
        static char* argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication* m_app = nullptr;
};

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace
