#include "mods/Vdf.h"

namespace mods {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

class Tokens {
public:
    enum class Kind { End, Open, Close, Text, Condition, Bad };

    explicit Tokens(std::string_view text) : text_(text) {}

    // The next token; a Text's (or Condition's) text is in text().
    Kind Next()
    {
        SkipSpaceAndComments();
        if (at_ == text_.size())
            return Kind::End;
        const char c = text_[at_];
        if (c == '{' || c == '}') {
            ++at_;
            return c == '{' ? Kind::Open : Kind::Close;
        }
        if (c == '"')
            return Quoted();
        if (c == '[') {
            const std::size_t end = text_.find(']', at_);
            if (end == std::string_view::npos)
                return Kind::Bad;
            at_ = end + 1;
            return Kind::Condition;
        }
        const std::size_t start = at_;
        while (at_ < text_.size() && !IsSpace(text_[at_]) && text_[at_] != '{' && text_[at_] != '}' && text_[at_] != '"')
            ++at_;
        text.assign(text_.substr(start, at_ - start));
        return Kind::Text;
    }

    std::string text;

private:
    void SkipSpaceAndComments()
    {
        for (;;) {
            while (at_ < text_.size() && IsSpace(text_[at_]))
                ++at_;
            if (text_.substr(at_, 2) != "//")
                return;
            const std::size_t end = text_.find('\n', at_);
            at_ = end == std::string_view::npos ? text_.size() : end + 1;
        }
    }

    Kind Quoted()
    {
        text.clear();
        for (++at_; at_ < text_.size(); ++at_) {
            char c = text_[at_];
            if (c == '"') {
                ++at_;
                return Kind::Text;
            }
            if (c == '\\' && at_ + 1 < text_.size()) {
                const char escaped = text_[++at_];
                c = escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
                if (escaped != 'n' && escaped != 't' && escaped != '\\' && escaped != '"') {
                    text += '\\';  // not an escape: kept as written
                    c = escaped;
                }
            }
            text += c;
        }
        return Kind::Bad;  // the quote is never closed
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::optional<std::vector<VdfNode>> ParseVdf(std::string_view text)
{
    using Kind = Tokens::Kind;
    std::vector<VdfNode> top;
    // The sections open, innermost last; each points into its parent's
    // children, which do not grow while it is open.
    std::vector<std::vector<VdfNode>*> open{&top};
    Tokens tokens(text);
    for (;;) {
        Kind kind = tokens.Next();
        if (kind == Kind::End)
            return open.size() == 1 ? std::optional(std::move(top)) : std::nullopt;
        if (kind == Kind::Close) {
            if (open.size() == 1)
                return std::nullopt;
            open.pop_back();
            continue;
        }
        if (kind == Kind::Condition)  // the condition of the value before
            continue;
        if (kind != Kind::Text)
            return std::nullopt;
        VdfNode node;
        node.key = std::move(tokens.text);
        kind = tokens.Next();
        if (kind == Kind::Condition)  // a condition on the key
            kind = tokens.Next();
        if (kind == Kind::Open) {
            if (static_cast<int>(open.size()) > kMaxVdfDepth)
                return std::nullopt;
            node.isSection = true;
            open.back()->push_back(std::move(node));
            open.push_back(&open.back()->back().children);
            continue;
        }
        if (kind != Kind::Text)
            return std::nullopt;
        node.value = std::move(tokens.text);
        open.back()->push_back(std::move(node));
    }
}

const VdfNode* FindVdfKey(const std::vector<VdfNode>& pairs, std::string_view key)
{
    for (const VdfNode& node : pairs) {
        if (node.key.size() != key.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < key.size() && same; ++i)
            same = AsciiLower(node.key[i]) == AsciiLower(key[i]);
        if (same)
            return &node;
    }
    return nullptr;
}

}  // namespace mods
