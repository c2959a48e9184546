#include "ui/HourGlass.h"

#include <QCursor>
#include <QGuiApplication>

namespace vesper {

namespace {

int depth = 0;
bool shown = false;  // the outermost guard set Qt's override cursor

bool HasGuiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

}  // namespace

// Only the outermost guard touches Qt's override cursor, so a guard made
// before the application existed cannot unbalance its cursor stack.
THourGlass::THourGlass() {
  if (depth++ == 0 && HasGuiApplication()) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    shown = true;
  }
}

THourGlass::~THourGlass() {
  if (--depth == 0 && shown) {
    shown = false;
    if (HasGuiApplication()) QGuiApplication::restoreOverrideCursor();
  }
}

int THourGlass::Depth() { return depth; }

}  // namespace vesper
