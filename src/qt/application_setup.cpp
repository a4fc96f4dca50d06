#include "qt/application_setup.h"

#include "qt/compact_style.h"
#include "qt/option_pictures.h"
#include "qt/picture_option_accessible.h"

namespace voxtane::qt {

void SetUpApplication(QApplication& app) {
    QApplication::setOrganizationName(QStringLiteral("Voxtane"));
    QApplication::setApplicationName(QStringLiteral("Voxtane"));
    QApplication::setApplicationVersion(QStringLiteral("0.2"));
    QGuiApplication::setDesktopFileName(QStringLiteral("voxtane"));
    app.setStyle(new CompactStyle);
    QApplication::setWindowIcon(ProgramIcon());
    PresentPictureOptionsAsOptionButtons();
}

}  // namespace voxtane::qt
