#include "support/failing_file_system.h"

#include <algorithm>

namespace korvo::testsupport {

class FailingOutputFile : public OutputFile {
public:
    FailingOutputFile(FailingFileSystem& owner, std::unique_ptr<OutputFile> real)
        : owner_(owner), real_(std::move(real)) {}

    int Write(std::span<const std::uint8_t> data) override {
        if (owner_.failAt == FailStep::Write && written_ + data.size() > owner_.failAfterBytes) {
            const std::size_t accepted = owner_.failAfterBytes - std::min(written_, owner_.failAfterBytes);
            if (accepted > 0) real_->Write(data.first(accepted));
            written_ += accepted;
            ++owner_.failures;
            return owner_.errorCode;
        }
        written_ += data.size();
        return real_->Write(data);
    }

    int Sync() override {
        if (owner_.failAt == FailStep::Sync) {
            ++owner_.failures;
            return owner_.errorCode;
        }
        return real_->Sync();
    }

    int Truncate(std::uint64_t size) override { return real_->Truncate(size); }

    int Close() override {
        const int error = real_->Close();
        if (owner_.failAt == FailStep::Close) {
            ++owner_.failures;
            return owner_.errorCode;
        }
        return error;
    }

private:
    FailingFileSystem& owner_;          // the layer holding the failure settings
    std::unique_ptr<OutputFile> real_;  // the real file
    std::size_t written_ = 0;           // bytes that reached the real file
};

std::unique_ptr<OutputFile> FailingFileSystem::Wrap(std::unique_ptr<OutputFile> real) {
    return std::make_unique<FailingOutputFile>(*this, std::move(real));
}

int FailingFileSystem::CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path* tempPath,
                                             std::unique_ptr<OutputFile>* file) {
    if (failAt == FailStep::Create) {
        ++failures;
        return errorCode;
    }
    std::unique_ptr<OutputFile> real;
    const int error = real_.CreateTemporaryBeside(target, tempPath, &real);
    if (error != 0) return error;
    temporaries.push_back(*tempPath);
    *file = Wrap(std::move(real));
    return 0;
}

int FailingFileSystem::OpenForAppend(const std::filesystem::path& path, std::uint64_t* sizeBefore,
                                     std::unique_ptr<OutputFile>* file) {
    if (failAt == FailStep::OpenAppend) {
        ++failures;
        return errorCode;
    }
    std::unique_ptr<OutputFile> real;
    const int error = real_.OpenForAppend(path, sizeBefore, &real);
    if (error != 0) return error;
    *file = Wrap(std::move(real));
    return 0;
}

int FailingFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (failAt == FailStep::Rename) {
        ++failures;
        return errorCode;
    }
    return real_.Rename(from, to);
}

int FailingFileSystem::Remove(const std::filesystem::path& path) {
    removed.push_back(path);
    return real_.Remove(path);
}

}  // namespace korvo::testsupport
