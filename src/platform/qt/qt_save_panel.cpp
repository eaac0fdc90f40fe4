#include "platform/qt/qt_save_panel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

#include "platform/paths.h"
#include "platform/qt/qt_text.h"

namespace corvane::platform {

namespace {

// Qt's own file dialog reads typed text holding double quotes as a list of quoted names (my"file".csv
// becomes "file" in the current folder). A save panel has one name: such text is taken whole, relative
// to the folder shown unless it is a path of its own.
class FileDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    // The typed path when it was taken whole; empty when Qt chose.
    QString Typed() const { return typed_; }

  protected:
    void accept() override {
        auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!field || !field->text().contains(QLatin1Char('"'))) {
            QFileDialog::accept();
            return;
        }
        QString path = QDir(directory().absolutePath()).filePath(field->text());
        QFileInfo file(path);
        if (file.isDir()) {
            setDirectory(path);
            field->clear();
            return;
        }
        if (file.exists() && !ConfirmReplace(file.fileName())) return;
        typed_ = path;
        QDialog::accept();
    }

  private:
    bool ConfirmReplace(const QString& name) {
        QString question =
            QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                .arg(name);
        return QMessageBox::warning(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No,
                                    QMessageBox::No) == QMessageBox::Yes;
    }

    QString typed_;
};

}  // namespace

QString SavePanel::Run(QWidget* parent, const QString& title, const QString& defaultName) {
    FileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    bool lastExists = !lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir();
    dialog.setDirectory(lastExists ? lastFolder_ : ToQString(HomeFolderPath()));
    dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted) return {};
    QString chosen = dialog.Typed();
    if (chosen.isEmpty()) {
        QStringList files = dialog.selectedFiles();
        if (files.isEmpty()) return {};
        chosen = files.first();
    }
    lastFolder_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

}  // namespace corvane::platform
