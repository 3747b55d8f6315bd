#pragma once

#include <QWidget>

// The one window of the program.
class Form1 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
};
