#include "program/main_dialog_start_host_win32.h"

#include <mmsystem.h>

#include "platform/handles_win32.h"
#include "platform/message_box_sink_win32.h"
#include "resources/main_dialog_ids.h"

MessageAnswer MainDialogStartHost::Show(const UserMessage& message) {
    // Exit while a cancelled worker finished: the user has left, and a box now would keep
    // the process alive until someone answers it. A question left unasked is a No.
    if (jobs_.DialogClosing()) {
        return AsksForAnswer(message.style) ? MessageAnswer::No : MessageAnswer::Ok;
    }
    return MessageBoxSink(dialog_.Handle()).Show(message);
}

bool MainDialogStartHost::FileOpensForReading(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    return file.Valid();
}

bool MainDialogStartHost::FileIsReadOnly(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

void MainDialogStartHost::PlayCompletionSound(bool synchronous) {
    PlaySoundA(MAKEINTRESOURCEA(IDR_COMPLETION_SOUND), ResourceModule(),
               SND_RESOURCE | SND_NODEFAULT | (synchronous ? SND_SYNC : SND_ASYNC));
}
