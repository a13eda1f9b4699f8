#include "platform/forms/Error.h"

namespace platform {

Error::Error(qint64 number, QString description, QString source)
    : number_(toNumber(number)),
      description_(std::move(description)),
      source_(std::move(source)),
      what_(description_.toUtf8())
{
}

bool Error::is(qint64 number) const noexcept { return number_ == toNumber(number); }

const char* Error::what() const noexcept { return what_.constData(); }

}  // namespace platform
