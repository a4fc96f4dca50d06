#include "ui/form1.h"

namespace voxtane::ui {

void Form1::cmdExit_Click() {
    const MessageAnswer answer =
        platform.ShowMessage({"Do you want to EXIT?", "Exit Program", MessageButtons::YesNo,
                              MessageIcon::Critical, DefaultButton::Second});
    if (answer == MessageAnswer::Yes) platform.EndProgram();
}

void Form1::Form_Unload() { platform.EndProgram(); }

}  // namespace voxtane::ui
