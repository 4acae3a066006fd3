#pragma once

#include "ui/roster.h"

#include <QWidget>
#include <memory>
#include <vector>

// Every window of the run, created once in the start-up order and kept until the run ends.
class Windows {
public:
    // Needs the data module with its connection open. The login window is created hidden;
    // showing it starts the run.
    explicit Windows(TDataModule6& dataModule);
    ~Windows();

    Roster roster;

private:
    template <class Window> Window* create(Window*& slot);
    void versionCheckTick();

    bool versionCheckRunning_ = false;

    std::vector<std::unique_ptr<QWidget>> owned_;
};
