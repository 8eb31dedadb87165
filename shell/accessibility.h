// What a screen reader sees of our windows: every top-level window reports
// the window role ("frame") with its title, whatever widget class it is;
// controls drawn by us (board thumbnails, clickable rows) can report a role
// of their own, and pure decoration can be kept out of the way.
#pragma once

#include <QAccessible>

class QAccessibleInterface;
class QObject;
class QString;
class QWidget;

// Installs the accessibility factory (once).
void InstallAccessibility();

// The factory itself: an interface for a top-level window named "frm…" that
// is a plain widget (dialogs and the main window already report theirs), for
// a widget given a role with SetAccessibleRole, and for decoration.
QAccessibleInterface* WidgetAccessible(const QString& className, QObject* object);

// The role `w` reports (a clickable picture: QAccessible::Button; a row of
// a list: QAccessible::ListItem). Its name stays its accessible name.
void SetAccessibleRole(QWidget* w, QAccessible::Role role);
// Marks `w` as decoration: reported invisible, so readers pass over it.
void SetAccessibleDecoration(QWidget* w);
