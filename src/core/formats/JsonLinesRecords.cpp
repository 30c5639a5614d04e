#include "core/formats/JsonLinesRecords.h"

#include <utility>

#include "core/formats/JsonText.h"

namespace trawlit {

std::string AbsoluteDisplayPath(std::string_view displayPath, std::string_view workingFolder)
{
    if (workingFolder.empty() || (!displayPath.empty() && displayPath.front() == '/')) {
        return std::string(displayPath);
    }
    while (displayPath.starts_with("./")) {
        displayPath.remove_prefix(2);
    }
    std::string absolute(workingFolder);
    if (absolute.empty() || absolute.back() != '/') {
        absolute += '/';
    }
    absolute += displayPath;
    return absolute;
}

JsonLinesRecords::JsonLinesRecords(std::string workingFolder)
    : workingFolder_(std::move(workingFolder))
{
}

void JsonLinesRecords::MatchingFile(TextOut& out, const PrintedFile& file)
{
    StartRecord("file", &file);
    EndRecord(out);
}

void JsonLinesRecords::BeginLine(
    TextOut&, const PrintedFile& file, std::int64_t lineNumber, bool isContinuation)
{
    StartRecord(isContinuation ? "continuation" : "match", &file);
    AppendNumber("line", lineNumber);
    text_.clear();
    streaming_ = false;
}

void JsonLinesRecords::LineText(TextOut& out, std::string_view part)
{
    if (!streaming_ && text_.size() + part.size() <= kHeldLineBytes) {
        text_.append(part);
        return;
    }
    if (!streaming_) {
        StartStreaming(out);
    }
    record_.clear();
    streamedExact_ = AppendJsonStringPart(record_, part, pending_, false) && streamedExact_;
    out.Write(record_);
}

void JsonLinesRecords::EndLine(TextOut& out)
{
    if (!streaming_) {
        AppendTextField(record_, "text", text_);
        EndRecord(out);
        return;
    }
    record_.clear();
    streamedExact_ = AppendJsonStringPart(record_, {}, pending_, true) && streamedExact_;
    record_ += "\",";
    if (!streamedExact_) {
        record_ += "\"text_exact\":false,";
    }
    EndRecord(out);
    streaming_ = false;
}

// The record so far and what was held of the line go out; the rest follows part by part.
void JsonLinesRecords::StartStreaming(TextOut& out)
{
    streaming_ = true;
    pending_.clear();
    record_ += "\"text\":\"";
    streamedExact_ = AppendJsonStringPart(record_, text_, pending_, false);
    out.Write(record_);
    text_.clear();
    text_.shrink_to_fit();
}

void JsonLinesRecords::FileCount(TextOut& out, const PrintedFile& file, std::int64_t count)
{
    StartRecord("count", &file);
    AppendNumber("count", count);
    EndRecord(out);
}

void JsonLinesRecords::FileCut(TextOut& out, const PrintedFile& file, std::string_view why)
{
    StartRecord("cut", &file);
    AppendTextField(record_, "reason", NotReadInFull(why));
    EndRecord(out);
}

void JsonLinesRecords::Summary(
    TextOut& out, const RunCounters& counters, bool aborted, std::int64_t filesNotRead)
{
    StartRecord("summary", nullptr);
    AppendNumber("files_searched", counters.TotalFileCount);
    AppendNumber("matching_files", counters.FileFoundCount);
    AppendNumber("matches", counters.MatchCount);
    AppendNumber("files_not_read_in_full", filesNotRead);
    record_ += aborted ? "\"aborted\":true," : "\"aborted\":false,";
    EndRecord(out);
}

void JsonLinesRecords::StartRecord(std::string_view type, const PrintedFile* file)
{
    record_ = "{\"type\":\"";
    record_ += type;
    record_ += "\",";
    if (file != nullptr) {
        record_ += PathFields(*file);
    }
}

// A file's matches follow one another: its paths are encoded once.
const std::string& JsonLinesRecords::PathFields(const PrintedFile& file)
{
    if (file.displayPath != pathsOf_ || pathFields_.empty()) {
        pathsOf_.assign(file.displayPath);
        pathFields_.clear();
        AppendTextField(pathFields_, "path", file.relativePath);
        AppendTextField(
            pathFields_, "absolute", AbsoluteDisplayPath(file.displayPath, workingFolder_));
    }
    return pathFields_;
}

void JsonLinesRecords::AppendNumber(std::string_view name, std::int64_t value)
{
    record_ += '"';
    record_ += name;
    record_ += "\":";
    record_ += std::to_string(value);
    record_ += ',';
}

// Every field was followed by a comma: the last one's becomes the closing brace.
void JsonLinesRecords::EndRecord(TextOut& out)
{
    record_.back() = '}';
    record_ += '\n';
    out.Write(record_);
}

} // namespace trawlit
