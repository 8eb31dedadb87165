#include "shell/accessibility.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMouseEvent>
#include <QWidget>

namespace {

const char* const kRoleProperty = "velmoraAccessibleRole";
const char* const kDecorationProperty = "velmoraDecoration";

class OwnAccessible : public QAccessibleWidget {
public:
    OwnAccessible(QWidget* w, QAccessible::Role role, bool decoration)
        : QAccessibleWidget(w, role), decoration_(decoration) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            if (name.isEmpty() && widget()->isWindow()) return widget()->windowTitle();
            return name;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (decoration_) s.invisible = true;
        return s;
    }

    QStringList actionNames() const override {
        if (role() == QAccessible::Button || role() == QAccessible::ListItem)
            return {pressAction()};
        return QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        // A click in the middle of the control, as the mouse would give.
        QWidget* w = widget();
        const QPointF c = QRectF(w->rect()).center();
        const QPointF global = w->mapToGlobal(c);
        QMouseEvent press(QEvent::MouseButtonPress, c, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, c, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(w, &release);
    }

private:
    bool decoration_;
};

} // namespace

QAccessibleInterface* WidgetAccessible(const QString& className, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    // Only for the most derived class, so a subclass never shadows another
    // factory's answer for itself.
    if (!w || className != QLatin1String(object->metaObject()->className())) return nullptr;
    if (w->property(kDecorationProperty).toBool())
        return new OwnAccessible(w, QAccessible::Separator, true);
    const QVariant role = w->property(kRoleProperty);
    if (role.isValid()) return new OwnAccessible(w, QAccessible::Role(role.toInt()), false);
    if (!w->isWindow() || !w->objectName().startsWith(QLatin1String("frm"))) return nullptr;
    if (qobject_cast<QDialog*>(w) || qobject_cast<QMainWindow*>(w)) return nullptr;
    return new OwnAccessible(w, QAccessible::Window, false);
}

namespace {

// An interface made before the property was set (naming a control makes one
// while a reader listens) is dropped, so the next question asks the factory.
void Renew(QWidget* w) {
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

} // namespace

void SetAccessibleRole(QWidget* w, QAccessible::Role role) {
    if (w->property(kRoleProperty) == QVariant(int(role))) return;
    w->setProperty(kRoleProperty, int(role));
    Renew(w);
}

void SetAccessibleDecoration(QWidget* w) {
    if (w->property(kDecorationProperty).toBool()) return;
    w->setProperty(kDecorationProperty, true);
    Renew(w);
}

void InstallAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(&WidgetAccessible);
}
