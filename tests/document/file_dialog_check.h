#pragma once

// Checks the one file dialog a command asked the scripted host for.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host.h"
#include "support/scripted_host.h"

namespace korvo::testsupport {

// The host was asked for exactly one file dialog, of the given kind (save or
// open) and title, offering the given file types in this order. Call it
// inside ASSERT_NO_FATAL_FAILURE: a wrong dialog or type count ends the test.
inline void ExpectOnlyFileDialog(const ScriptedHost& host, bool save, const std::u16string& title,
                                 const std::vector<FileFilter>& filters) {
    ASSERT_EQ(host.fileDialogs.size(), 1u);
    const RecordedFileDialog& dialog = host.fileDialogs[0];
    EXPECT_EQ(dialog.save, save);
    EXPECT_EQ(dialog.title, title);
    ASSERT_EQ(dialog.filters.size(), filters.size());
    for (std::size_t i = 0; i < filters.size(); ++i) {
        SCOPED_TRACE("file type " + std::to_string(i));
        EXPECT_EQ(dialog.filters[i].name, filters[i].name);
        EXPECT_EQ(dialog.filters[i].pattern, filters[i].pattern);
    }
}

}  // namespace korvo::testsupport
