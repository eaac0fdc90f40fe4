// The modal save panel: Qt's file dialog, taking a typed name whole and starting where the last one ended.
#pragma once

#include <QString>

class QWidget;

namespace corvane::platform {

class SavePanel {
  public:
    // The chosen file's full path, or an empty text when the panel was cancelled.
    QString Run(QWidget* parent, const QString& title, const QString& defaultName);

  private:
    QString lastFolder_;  // where the last accepted panel's file went; the home folder before that
};

}  // namespace corvane::platform
