#pragma once

#include "document/command_table.h"

// What the main frame routes commands to: the document and the view, once
// they exist. The frame asks it for the state the enabling rules read and
// hands it every command it does not carry out itself.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    // Carries out the command; returns false when this target has no handler
    // for it, so that the frame may use its own (About, Online Help, Exit).
    virtual bool OnCommand(int id) = 0;

    // The generation status, view choice, underline flag and next grid size.
    // The frame fills in the toolbar and status bar flags itself.
    virtual korvo::CommandStateInput StateInput() const = 0;
};
