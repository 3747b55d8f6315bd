#pragma once

#include <QString>

// The system clipboard, plain text only.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    // Empty when the clipboard is empty or holds no text (a picture, say).
    virtual QString text() const = 0;
    virtual void clear() = 0;
    virtual void setText(const QString &text) = 0;
};

class QtClipboard final : public Clipboard
{
public:
    QString text() const override;
    void clear() override;
    void setText(const QString &text) override;
};
