#pragma once

#include <gtest/gtest.h>

#include <QtGlobal>
#include <functional>
#include <memory>
#include <utility>

// One Qt application object (QCoreApplication, QGuiApplication or QApplication) for the whole test
// program, on the offscreen platform, so that widgets, fonts and images work without a display.
// `started` runs once the application exists, for settings such as the application font.
template <typename App>
class QtTestEnvironment final : public ::testing::Environment {
public:
    explicit QtTestEnvironment(std::function<void()> started) : m_started(std::move(started)) {}
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<App>(m_argc, m_argv);
        if (m_started) m_started();
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[13] = "drovane-test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<App> m_app;
    std::function<void()> m_started;
};

// Registers the environment; call once per test program, at namespace scope.
template <typename App>
::testing::Environment* AddQtTestEnvironment(std::function<void()> started = {}) {
    return ::testing::AddGlobalTestEnvironment(new QtTestEnvironment<App>(std::move(started)));
}
