#include "text/text_stream.h"

#include <algorithm>
#include <cstring>

#include "core/files.h"
#include "core/strings.h"

namespace leafsmith {

bool SharedText::MayContain(std::string_view needle, bool noCase) const {
    std::string key(1, noCase ? 'i' : 'c');
    key += needle;
    std::lock_guard<std::mutex> hold(lock_);
    for (const auto& [known, found] : known_) {
        if (known == key)
            return found;
    }
    const bool found =
        noCase ? FindNoCase(text_, needle) != std::string::npos : text_.find(needle) != std::string::npos;
    known_.emplace_back(std::move(key), found);
    return found;
}

Placeholder TextPlaceholder(std::string name, std::string value) {
    return {std::move(name), [value = std::move(value)](TextSink& out) { out.Put(value); }};
}

Placeholder SharedPlaceholder(std::string name, std::shared_ptr<const SharedText> value) {
    return {std::move(name), [value = std::move(value)](TextSink& out) { out.Put(value->Text(), value.get()); }};
}

void PutMarked(TextSink& out, const SharedText& text, std::string_view from, std::string_view insertion) {
    const std::string_view all = text.Text();
    size_t pos = 0;
    for (size_t at; (at = all.find(from, pos)) != std::string_view::npos; pos = at + from.size()) {
        out.Put(all.substr(pos, at + from.size() - pos), &text);
        out.Put(insertion);
    }
    out.Put(all.substr(pos), &text);
}

size_t ReplacingSink::Find(std::string_view text, size_t from) const {
    return placeholder_.NoCase ? FindNoCase(text, placeholder_.Name, from) : text.find(placeholder_.Name, from);
}

bool ReplacingSink::MatchesAt(std::string_view text, size_t at) const {
    const std::string& name = placeholder_.Name;
    const size_t length = std::min(name.size(), text.size() - at);
    for (size_t i = 0; i < length; ++i) {
        const char c = placeholder_.NoCase ? AsciiLower(text[at + i]) : text[at + i];
        if (c != name[i])
            return false;
    }
    return true;
}

// The held tail met the start of the next piece: an occurrence that starts in the tail is
// replaced, the rest of the tail passed on. Takes from `text` what the occurrence covers.
void ReplacingSink::PutHeld(std::string_view& text) {
    const size_t length = placeholder_.Name.size();
    const std::string joint = held_ + std::string(text.substr(0, length - 1));
    for (size_t start = 0; start < held_.size(); ++start) {
        if (!MatchesAt(joint, start))
            continue;
        if (joint.size() - start >= length) {
            next_.Put(std::string_view(joint).substr(0, start));
            placeholder_.Value(next_);
            text.remove_prefix(start + length - held_.size());
        } else {  // the piece was too short to tell: all of it joins the tail
            next_.Put(std::string_view(joint).substr(0, start));
            held_ = joint.substr(start);
            text = {};
            return;
        }
        held_.clear();
        return;
    }
    next_.Put(held_);
    held_.clear();
}

void ReplacingSink::Put(std::string_view text, const SharedText* shared) {
    if (!held_.empty())
        PutHeld(text);
    if (text.empty())
        return;
    const size_t length = placeholder_.Name.size();
    size_t pos = 0;
    if (!shared || shared->MayContain(placeholder_.Name, placeholder_.NoCase)) {
        for (size_t at; (at = Find(text, pos)) != std::string_view::npos; pos = at + length) {
            if (at > pos)
                next_.Put(text.substr(pos, at - pos), shared);
            placeholder_.Value(next_);
        }
    }
    // The earliest place in the last bytes where the piece ends with the start of the name.
    size_t tail = std::max(pos, text.size() >= length ? text.size() - length + 1 : size_t{0});
    while (tail < text.size() && !MatchesAt(text, tail))
        ++tail;
    if (tail > pos)
        next_.Put(text.substr(pos, tail - pos), shared);
    held_.assign(text.substr(tail));
}

void ReplacingSink::Close() {
    if (!held_.empty())
        next_.Put(held_);
    held_.clear();
    next_.Close();
}

void ReplacePlaceholders(std::string_view text, std::initializer_list<const PlaceholderList*> lists, TextSink& out) {
    std::vector<const Placeholder*> placeholders;
    for (const PlaceholderList* list : lists) {
        for (const Placeholder& placeholder : *list)
            placeholders.push_back(&placeholder);
    }
    std::vector<std::unique_ptr<ReplacingSink>> stages;
    stages.reserve(placeholders.size());
    for (auto placeholder = placeholders.rbegin(); placeholder != placeholders.rend(); ++placeholder) {
        TextSink& next = stages.empty() ? out : static_cast<TextSink&>(*stages.back());
        stages.push_back(std::make_unique<ReplacingSink>(next, **placeholder));
    }
    TextSink& first = stages.empty() ? out : static_cast<TextSink&>(*stages.back());
    first.Put(text);
    first.Close();
}

std::string ReplacePlaceholders(std::string_view text, std::initializer_list<const PlaceholderList*> lists) {
    StringSink out;
    ReplacePlaceholders(text, lists, out);
    return std::move(out.Text);
}

namespace {

constexpr size_t FileBufferSize = 256 * 1024;

}  // namespace

TextFileSink::TextFileSink(const std::string& path, std::string& buffer)
    : file_(std::make_unique<PendingFile>(path)), buffer_(buffer) {
    buffer_.clear();
}

TextFileSink::~TextFileSink() = default;

void TextFileSink::Put(std::string_view text, const SharedText*) {
    if (text.empty())
        return;
    const char* at = text.data();
    const char* const end = at + text.size();
    if (afterCr_ && *at == '\n')
        ++at;
    afterCr_ = false;
    last_ = text.back();
    while (at < end) {
        const char* stop = std::min(end, at + FileBufferSize);
        const void* lf = std::memchr(at, '\n', static_cast<size_t>(stop - at));
        if (lf)
            stop = static_cast<const char*>(lf);
        if (const void* cr = std::memchr(at, '\r', static_cast<size_t>(stop - at)))
            stop = static_cast<const char*>(cr);
        buffer_.append(at, stop);
        at = stop;
        if (at < end && (*at == '\r' || *at == '\n')) {
            buffer_ += "\r\n";
            if (*at == '\r' && at + 1 == end)
                afterCr_ = true;
            else if (*at == '\r' && at[1] == '\n')
                ++at;
            ++at;
        }
        if (buffer_.size() >= FileBufferSize)
            Flush();
    }
}

void TextFileSink::Flush() {
    file_->Write(buffer_);
    buffer_.clear();
}

void TextFileSink::Close() {
    if (last_ != '\n' && last_ != '\r')
        buffer_ += "\r\n";
    Flush();
    file_->Finish();
}

}  // namespace leafsmith
