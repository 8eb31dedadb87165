#include "shell/router.h"

#include "platform/platform.h"

#include <QPointer>
#include <algorithm>
#include <map>
#include <vector>

namespace {

std::map<Role, WindowFactory>& Factories() {
    static std::map<Role, WindowFactory> factories;
    return factories;
}

std::function<void()>& MenuRefresh() {
    static std::function<void()> refresh;
    return refresh;
}

QPointer<QWidget>& MenuWidget() {
    static QPointer<QWidget> menu;
    return menu;
}

// Windows opened on the menu's roads; closed ones drop out as they go.
std::vector<QPointer<QWidget>>& RoadWindows() {
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

} // namespace

void RegisterWindow(Role role, WindowFactory factory) {
    Factories()[role] = std::move(factory);
}

bool IsWindowRegistered(Role role) {
    auto it = Factories().find(role);
    return it != Factories().end() && it->second;
}

QWidget* OpenWindow(Role role) {
    auto it = Factories().find(role);
    if (it == Factories().end() || !it->second) {
        Beep();
        return nullptr;
    }
    QWidget* window = it->second();
    if (!window) {
        Beep();
        return nullptr;
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (role == Role::About) {
        // Modal for the user, but the caller is not blocked in a nested loop.
        window->setWindowModality(Qt::ApplicationModal);
    }
    if (IsRoadRole(role)) RoadWindows().emplace_back(window);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void MyInitForm() {
    // Copy first: the refresh may replace or clear itself.
    auto refresh = MenuRefresh();
    if (refresh) refresh();
}

void SetMenuRefresh(std::function<void()> refresh) {
    MenuRefresh() = std::move(refresh);
}

void SetMenuWindow(QWidget* menu) {
    MenuWidget() = menu;
}

QWidget* MenuWindow() {
    return MenuWidget().data();
}

bool IsRoadRole(Role role) {
    switch (role) {
    case Role::Registration:
    case Role::Settings:
    case Role::CourseSelect:
    case Role::Trial:
    case Role::HiScore:
    case Role::Review:
    case Role::Picker:
    case Role::Learn:
    case Role::View:
        return true;
    default:
        return false;
    }
}

bool RoadWindowOpen() {
    auto& windows = RoadWindows();
    // A closed window is hidden at once and deleted a little later.
    std::erase_if(windows, [](const QPointer<QWidget>& w) { return !w || !w->isVisible(); });
    return !windows.empty();
}
