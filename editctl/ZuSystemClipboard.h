#pragma once
// The desktop's clipboard for the editor control. Formats map to MIME types:
// plain text is the desktop's text (converted from and to the control's code
// page), RTF is "text/rtf" (also read from "application/rtf"), the range record
// a type of our own. What is set between Open and Close reaches the desktop in
// one step at Close, so no reader ever sees part of a copy.

#include "editctl/engine/ZuClipboard.h"

#include <QString>

#include <map>
#include <memory>

class QMimeData;

class ZuSystemClipboard : public ZuClipboard {
public:
    ZuSystemClipboard();
    ~ZuSystemClipboard() override;
    ZuErr Open(const void* owner) override;
    void Close() override;
    const std::string* Get(std::string_view format) override;
    ZuErr Set(std::string_view format, std::string data) override;
    const void* Owner() const override { return owner_; }
    void Empty() override;

    // The MIME type of the range record.
    static const QString RangeMimeType;

private:
    void StartPending(bool keepContent);

    bool open_ = false;
    const void* owner_ = nullptr;
    std::map<std::string, std::string> read_; // what Get gave while open
    std::unique_ptr<QMimeData> pending_;
};
