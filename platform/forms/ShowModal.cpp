#include "platform/forms/ShowModal.h"

#include <mutex>
#include <utility>

namespace platform {
namespace {
std::mutex modalMutex;
ModalHandler modalHandler;
}  // namespace

int ShowModal(QDialog& dialog)
{
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
