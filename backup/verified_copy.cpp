#include "backup/verified_copy.h"

#include <string>
#include <utility>

#include "backup/hashed_transfer.h"
#include "core/path_text.h"

namespace ruror {

namespace fs = std::filesystem;

struct CopyBatch::Pending {
    fs::path source;
    fs::path destination;
    bool overwrite = false;
    bool followLink = false;
    const StopRequest* stop = nullptr;
    std::uint64_t size = 0;
    ContentHash::Digest digest;
    std::unique_ptr<CopyTarget> target;
};

namespace {

// Appended piece by piece: GCC 12 at -O3 takes "'" + text for an
// overlapping copy and, with -Werror, refuses the release build.
std::string quoted(const fs::path& path) {
    std::string text(1, '\'');
    text += textFromPath(path);
    text += '\'';
    return text;
}

// One file's share of the progress bar: writing the copy is its first half,
// reading it back the second.
class FileProgress {
public:
    FileProgress(const CopyProgress& report, std::uint64_t size) : report_(report), size_(size) {}

    void written(std::uint64_t bytes) const { tell(bytes); }
    void readBack(std::uint64_t bytes) const { tell(size_ + bytes); }
    // Keeps the window answering while a step waits, the bar standing still.
    KeepAnswering standingAt(std::uint64_t done) const {
        return [this, done] { tell(done); };
    }

private:
    void tell(std::uint64_t done) const {
        if (report_) report_(done, 2 * size_);
    }

    const CopyProgress& report_;
    std::uint64_t size_;
};

class Sequence {
public:
    Sequence(FileSystem& files, CopyBatch::Pending& copy, const CopyProgress& progress)
        : files_(files), copy_(copy), progress_(progress), sourceText_(quoted(copy.source)) {}

    // Up to the flush: the copy written whole under its temporary name.
    Outcome write();
    // After the flush: the copy read back, compared and given its name.
    Outcome verifyAndPlace();

private:
    Failure refused(Refusal why, std::string source, std::string description = {}) const {
        Failure failure = files_.failure(files_.errorCode(why), std::move(source));
        if (!description.empty()) failure.description = std::move(description);
        return failure;
    }
    Outcome checkSource(const CopySource& source) const;
    Outcome checkDestination() const;
    Outcome checkFitsOnDrive() const;
    Outcome copyContent(CopySource& source);
    Outcome keepStamp(CopySource& source);

    FileSystem& files_;
    CopyBatch::Pending& copy_;
    const CopyProgress& progress_;
    const std::string sourceText_;
};

Outcome Sequence::write() {
    std::unique_ptr<CopySource> source;
    const KeepAnswering waiting = [this] {
        if (progress_) progress_(0, 0);
    };
    if (const int error = files_.openSource(copy_.source, copy_.followLink, waiting, source))
        return files_.failure(error, "Abrir " + sourceText_);
    if (Outcome failure = checkSource(*source)) return failure;
    if (Outcome failure = checkDestination()) return failure;
    copy_.size = source->stamp().size;
    if (Outcome failure = checkFitsOnDrive()) return failure;
    const fs::path folder = copy_.destination.parent_path();
    if (const int error = files_.createCopy(folder, copy_.size, copy_.target))
        return files_.failure(error, "Crear la copia de " + sourceText_ + " en " + quoted(folder));
    if (Outcome failure = copyContent(*source)) return failure;
    return keepStamp(*source);
}

// A document that is only in the cloud is not downloaded: the backup would
// hold whatever happened to arrive, slowly or not at all without a network.
Outcome Sequence::checkSource(const CopySource& source) const {
    if (source.onlyInTheCloud()) return refused(Refusal::OnlyInTheCloud, "Copiar " + sourceText_, kOnlyInTheCloud);
    if (!source.isPlainFile()) return refused(Refusal::NotAFile, "Copiar " + sourceText_ + ", que no es un archivo");
    return std::nullopt;
}

// What stands under the destination's name before anything is written: a
// file to keep, without overwrite; a folder, which no copy may replace; a
// file that Windows' own copy would not replace either.
Outcome Sequence::checkDestination() const {
    const std::string destinationText = quoted(copy_.destination);
    switch (files_.destinationState(copy_.destination)) {
        case Destination::Free: return std::nullopt;
        case Destination::Folder:
            return refused(Refusal::IsAFolder, "Crear " + destinationText, "Ya existe una carpeta con ese nombre");
        default: break;
    }
    if (!copy_.overwrite) {
        Failure kept = refused(Refusal::NameTaken, "Crear " + destinationText);
        kept.destinationExisted = true;
        return kept;
    }
    switch (files_.destinationState(copy_.destination)) {
        case Destination::ReadOnlyFile:
            return refused(Refusal::AccessDenied, "Reemplazar " + destinationText + ", que es de solo lectura");
        case Destination::HiddenOrSystemFile:
            return refused(Refusal::AccessDenied,
                           "Reemplazar " + destinationText + ", que está oculto o es de sistema");
        default: return std::nullopt;
    }
}

// A drive that cannot hold a file that large (a FAT stick and a file of
// 4 GiB or more) is told so before a byte is written.
Outcome Sequence::checkFitsOnDrive() const {
    if (copy_.size <= kLargestFatFile) return std::nullopt;
    const fs::path folder = copy_.destination.parent_path();
    const std::optional<std::uint64_t> largest = files_.largestFileOn(folder);
    if (!largest || copy_.size <= *largest) return std::nullopt;
    return refused(Refusal::TooLarge, "Copiar " + sourceText_ + " en " + quoted(folder), kTooLargeForFat);
}

// The bytes pass through the program and its hash, never a clone that would
// share the source's blocks and leave nothing of the drive's to check.
Outcome Sequence::copyContent(CopySource& source) {
    const FileProgress progress(progress_, copy_.size);
    ContentHash hash;
    CopyTarget& target = *copy_.target;
    const PiecePipeline::Result result = copyHashing(
        [&source, stop = copy_.stop](char* piece, std::size_t capacity, std::uint64_t offset) {
            return stopAsked(stop) ? -static_cast<long long>(kStoppedOnRequest)
                                   : source.readAt(piece, capacity, offset);
        },
        [&target](char* piece, std::size_t length, std::uint64_t offset) {
            return target.writeAt(piece, length, offset);
        },
        copy_.size, hash, [&progress](std::uint64_t written) { progress.written(written); });
    const std::string writing = "Escribir la copia de " + sourceText_ + " en " + quoted(copy_.destination);
    if (result.error != 0) return files_.failure(result.error, result.failedFilling ? "Leer " + sourceText_ : writing);
    if (const int error = target.endAt(copy_.size)) return files_.failure(error, writing);
    // A source that changed while it was read gives a torn copy, never kept.
    bool unchanged = false;
    if (const int error = source.checkUnchanged(unchanged))
        return files_.failure(error, "Leer los datos de " + sourceText_);
    if (!unchanged || result.emptied != copy_.size)
        return refused(Refusal::Changed, "Copiar " + sourceText_, "El archivo cambió mientras se copiaba");
    copy_.digest = hash.digest();
    return std::nullopt;
}

Outcome Sequence::keepStamp(CopySource& source) {
    if (const int error = copy_.target->keepPermissions(source.permissions()))
        return files_.failure(error, "Dar los permisos a la copia de " + sourceText_);
    if (const int error = copy_.target->keepModificationTime(source.stamp().modifiedNanoseconds))
        return files_.failure(error, "Dar la fecha a la copia de " + sourceText_);
    return std::nullopt;
}

// Read to its end, not to its size, so that a drive that gives back more
// than it was given is found out too.
Outcome Sequence::verifyAndPlace() {
    const FileProgress progress(progress_, copy_.size);
    CopyTarget& target = *copy_.target;
    const std::string checking =
        "Comprobar la copia de " + sourceText_ + " en " + quoted(copy_.destination.parent_path());
    if (const int error = target.openReadBack(progress.standingAt(copy_.size))) return files_.failure(error, checking);
    ContentHash hash;
    std::uint64_t total = 0;
    const int error = hashToEnd(
        [&target, stop = copy_.stop](char* piece, std::size_t capacity, std::uint64_t offset) {
            return stopAsked(stop) ? -static_cast<long long>(kStoppedOnRequest)
                                   : target.readBackAt(piece, capacity, offset);
        },
        copy_.size, hash, total, [&progress](std::uint64_t done) { progress.readBack(done); });
    if (error != 0) return files_.failure(error, checking);
    if (total != copy_.size || hash.digest() != copy_.digest)
        return Failure{kCopyReadBackDiffers, kReadBackDiffers, checking};

    const std::string naming = "Dar su nombre final a " + quoted(copy_.destination);
    const int placed = target.place(copy_.destination, copy_.overwrite, progress.standingAt(2 * copy_.size));
    if (placed == CopyTarget::kNameTaken) {
        Failure kept = refused(Refusal::NameTaken, naming);
        kept.destinationExisted = true;
        return kept;
    }
    if (placed != 0) return files_.failure(placed, naming);
    return std::nullopt;
}

std::unique_ptr<CopyBatch::Pending> pendingCopy(const fs::path& source, const fs::path& destination, bool overwrite) {
    auto copy = std::make_unique<CopyBatch::Pending>();
    copy->source = source;
    copy->destination = destination;
    copy->overwrite = overwrite;
    return copy;
}

}  // namespace

Outcome copyVerified(FileSystem& files, const fs::path& source, const fs::path& destination, bool overwrite,
                     const CopyProgress& progress, const StopRequest* stop) {
    const std::unique_ptr<CopyBatch::Pending> copy = pendingCopy(source, destination, overwrite);
    copy->followLink = true;
    copy->stop = stop;
    Sequence sequence(files, *copy, progress);
    if (Outcome failure = sequence.write()) return failure;
    const FileProgress flushing(progress, copy->size);
    if (const int error = files.flushTogether({copy->target.get()}, flushing.standingAt(copy->size)).front())
        return files.failure(error, "Guardar en el disco la copia de " + quoted(source));
    return sequence.verifyAndPlace();
}

CopyBatch::CopyBatch(FileSystem& files, const StopRequest* stop) : files_(files), stop_(stop) {}

CopyBatch::~CopyBatch() = default;

Outcome CopyBatch::add(const fs::path& source, const fs::path& destination, const CopyProgress& progress) {
    std::unique_ptr<Pending> copy = pendingCopy(source, destination, false);
    copy->stop = stop_;
    if (Outcome failure = Sequence(files_, *copy, progress).write()) return failure;
    bytesWritten_ += copy->size;
    pending_.push_back(std::move(copy));
    if (pending_.size() >= kMostCopies) {
        for (Failure& failure : commit(progress)) failures_.push_back(std::move(failure));
    }
    return std::nullopt;
}

// Only once every copy of the batch is on the disk may any take its name.
std::vector<Failure> CopyBatch::commit(const CopyProgress& progress) {
    std::vector<CopyTarget*> targets;
    targets.reserve(pending_.size());
    for (const auto& copy : pending_) targets.push_back(copy->target.get());
    const std::vector<int> errors = files_.flushTogether(targets, [&progress] {
        if (progress) progress(0, 0);
    });
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        Pending& copy = *pending_[i];
        if (errors[i] != 0) {
            failures_.push_back(files_.failure(errors[i], "Guardar en el disco la copia de " + quoted(copy.source)));
        } else if (Outcome failure = Sequence(files_, copy, progress).verifyAndPlace()) {
            if (failure->destinationExisted)
                keptOut_.push_back(copy.source);
            else
                failures_.push_back(std::move(*failure));
        } else {
            placed_.push_back({copy.destination, copy.size, copy.digest});
        }
    }
    pending_.clear();
    return std::exchange(failures_, {});
}

}  // namespace ruror
