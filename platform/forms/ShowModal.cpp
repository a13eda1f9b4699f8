#include "platform/forms/ShowModal.h"

#include "platform/forms/FocusReturn.h"

#include <mutex>
#include <utility>

namespace platform {
namespace {
std::mutex modalMutex;
ModalHandler modalHandler;
}  // namespace

int ShowModal(QDialog& dialog)
{
    // Afterwards the user types on where they were.
    const FocusReturn focusBack;
    ModalHandler handler;
    {
        std::lock_guard lock(modalMutex);
        handler = modalHandler;
    }
    return handler ? handler(dialog) : dialog.exec();
}

ModalHandler SetModalHandler(ModalHandler handler)
{
    std::lock_guard lock(modalMutex);
    return std::exchange(modalHandler, std::move(handler));
}

}  // namespace platform
