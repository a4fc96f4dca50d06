#include "qt/qt_platform.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMimeData>
#include <QStandardPaths>

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

#include "editor/recovery/data_folder.h"
#include "qt/file_filters.h"

namespace voxtane::qt {
namespace {

QMessageBox::Icon IconOf(editor::MessageIcon icon) {
    switch (icon) {
        case editor::MessageIcon::Critical:
            return QMessageBox::Critical;
        case editor::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case editor::MessageIcon::Information:
            return QMessageBox::Information;
        case editor::MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString PlainText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

QtPlatform::~QtPlatform() {
    if (about_ && !about_->parent()) delete about_.data();
}

editor::MessageAnswer QtPlatform::ShowMessage(const editor::MessageBoxRequest& request) {
    QMessageBox box(IconOf(request.icon), PlainText(request.title), PlainText(request.text),
                    QMessageBox::NoButton, mainWindow_);
    box.setTextFormat(Qt::PlainText);
    if (request.buttons == editor::MessageButtons::Ok) {
        box.setDefaultButton(box.addButton(QMessageBox::Ok));
        box.exec();
        return editor::MessageAnswer::Ok;
    }
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    QPushButton* cancel = request.buttons == editor::MessageButtons::YesNoCancel
                              ? box.addButton(QMessageBox::Cancel)
                              : nullptr;
    box.setDefaultButton(request.defaultButton == editor::DefaultButton::First ? yes : no);
    box.setEscapeButton(cancel != nullptr ? cancel : no);
    box.exec();
    if (box.clickedButton() == yes) return editor::MessageAnswer::Yes;
    if (cancel != nullptr && box.clickedButton() == cancel) return editor::MessageAnswer::Cancel;
    return editor::MessageAnswer::No;
}

std::string QtPlatform::ShowFileDialog(const editor::FileDialogRequest& request) {
    const std::vector<std::string> chosen = ShowFilesDialog(request);
    return chosen.empty() ? std::string() : chosen.front();
}

std::vector<std::string> QtPlatform::ShowFilesDialog(const editor::FileDialogRequest& request) {
    QFileDialog dialog(mainWindow_, QString::fromStdString(request.title));
    const bool save = request.kind == editor::FileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    switch (request.kind) {
        case editor::FileDialogKind::OpenMany:
            dialog.setFileMode(QFileDialog::ExistingFiles);
            break;
        case editor::FileDialogKind::Folder:
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly);
            break;
        default:
            dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
    }
    // A name is taken as typed: no extension is added and an existing file is replaced without
    // a question, as the editor's save commands expect.
    dialog.setDefaultSuffix(QString());
    if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);

    const StartingPoint start = StartingPointOf(request);
    dialog.setNameFilters(start.nameFilters);
    if (!start.selectedFilter.isEmpty()) dialog.selectNameFilter(start.selectedFilter);
    dialog.setDirectory(start.folder);
    if (!start.fileName.isEmpty()) dialog.selectFile(start.fileName);

    if (dialog.exec() != QDialog::Accepted) return {};
    std::vector<std::string> chosen;
    for (const QString& path : dialog.selectedFiles()) chosen.push_back(path.toStdString());
    return chosen;
}

void QtPlatform::SetClipboard(const editor::ClipboardContent& content) {
    auto* data = new QMimeData;
    if (!content.tone.empty())
        data->setData(QString::fromLatin1(kToneMimeType),
                      QByteArray(reinterpret_cast<const char*>(content.tone.data()),
                                 static_cast<qsizetype>(content.tone.size())));
    data->setText(QString::fromStdString(content.text));
    QGuiApplication::clipboard()->setMimeData(data);
}

editor::ClipboardContent QtPlatform::Clipboard() const {
    editor::ClipboardContent content;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) return content;
    const QByteArray tone = data->data(QString::fromLatin1(kToneMimeType));
    content.tone.assign(tone.begin(), tone.end());
    content.text = data->text().toStdString();
    return content;
}

std::string QtPlatform::DataFolder() const {
    // voxtane-syx finds the same folder without the toolkit (editor/recovery/data_folder.h).
    const QString chosen = qEnvironmentVariable(editor::kDataFolderVariable);
    if (!chosen.isEmpty()) return chosen.toStdString();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
}

std::string QtPlatform::DocumentsFolder() const {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

void QtPlatform::ShowStatus(const std::string& text) {
    if (auto* window = qobject_cast<QMainWindow*>(mainWindow_.data()))
        window->statusBar()->showMessage(QString::fromStdString(text));
}

std::string QtPlatform::ProgramFolder() const {
    return QCoreApplication::applicationDirPath().toStdString();
}

void QtPlatform::EndProgram() {
    if (ended_) return;
    ended_ = true;
    // Disabled and hidden windows take no more input, not even what is queued already, so no
    // handler of the editor runs after this one.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->setEnabled(false);
        window->hide();
    }
    QCoreApplication::exit(0);
}

editor::DocumentOpenResult QtPlatform::OpenDocument(const std::string& path) {
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)))) return {};
    return {editor::DocumentOpenStatus::Failed, "no program to show it could be started"};
}

void QtPlatform::ShowAboutBox(editor::AboutBox& box) {
    if (!about_) about_ = new AboutDialog(box, mainWindow_);
    about_->RunModal();
}

std::optional<int> QtPlatform::ChooseItem(const editor::ItemChoiceRequest& request) {
    QStringList items;
    for (const std::string& item : request.items) items << QString::fromStdString(item);
    bool chosen = false;
    const QString item =
        QInputDialog::getItem(mainWindow_, QString::fromStdString(request.title),
                              QString::fromStdString(request.label), items, request.initial,
                              /*editable=*/false, &chosen);
    if (!chosen) return std::nullopt;
    return static_cast<int>(items.indexOf(item));
}

}  // namespace voxtane::qt
