#include "read/analysis.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <exception>
#include <memory>
#include <sstream>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "read/body.h"
#include "read/byte_masks.h"
#include "support/helper_thread.h"
#include "support/mapped_ahead.h"
#include "support/two_workers.h"
#include "support/text.h"

namespace velmorn {

namespace {

using namespace std::string_view_literals;

// How many times `c` occurs in `text`, sixteen bytes at a time.
size_t occurrences(std::string_view text, char c)
{
    size_t count = 0, at = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (; at + 16 <= text.size(); at += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        for (unsigned found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, wanted))); found;
             found &= found - 1)
            ++count;
    }
#endif
    for (; at < text.size(); ++at) count += text[at] == c;
    return count;
}

// Makes room in `d`'s port lists for about as many ports of each mode as
// `list` declares (one per ";", and one more; at most a hundred thousand),
// so that a long list is read without the lists moving as they grow. The
// room takes no memory until it is used.
void reserveForPorts(Design& d, std::string_view list)
{
    constexpr size_t kMost = 100000;
    const size_t declarations = std::min(occurrences(list, ';') + 1, kMost);
    for (std::vector<Port>* ports : {&d.inputs, &d.outputs, &d.inouts}) ports->reserve(ports->size() + declarations);
}

class SourceReader {
public:
    SourceReader(Scanner& scanner, Diagnostics& diagnostics, Design& design, const AnalysisOptions& options)
        : scan_(scanner), diag_(diagnostics), d_(design), options_(options)
    {
    }

    bool read()
    {
        entityEnd_ = architectureKeyword(scan_.text());
        if (sharesPortListFrom(0)) HelperThread::warmUp();  // for the port list, soon
        const size_t bad = scan_.findControlByte();
        if (bad != std::string::npos)
            return refuse("Invalid character at line " + std::to_string(scan_.lineOf(bad)));
        next();
        if ((item() == "LIBRARY"sv || item() == "USE"sv || item() == "CONTEXT"sv) && !contextClause()) return false;
        if (!unitBeforeEntity(item()).empty()) return unsupported(unitBeforeEntity(item()));
        if (item() != "ENTITY"sv) return noEntity();
        return entity() && skipToArchitecture() && architecture();
    }

private:
    using Read = void (Scanner::*)(std::string&);

    Scanner& scan_;
    Diagnostics& diag_;
    Design& d_;
    const AnalysisOptions& options_;
    size_t entityEnd_ = std::string::npos;  // where the entity seems to end (architectureKeyword)
    // The room of the inputs, outputs and INOUTs, and the heap memory of the
    // ports' type texts.
    MappedAhead listsAhead_[3]{MappedAhead(64 * 1024), MappedAhead(64 * 1024), MappedAhead(64 * 1024)};
    MappedAhead typesAhead_{16 * 1024};
    // The current token and the two before it, in a ring whose strings keep
    // their memory from token to token.
    std::string tokens_[3];
    size_t current_ = 0;
    const std::string& item() const { return tokens_[current_]; }
    const std::string& prev() const { return tokens_[(current_ + 2) % 3]; }
    const std::string& prevPrev() const { return tokens_[(current_ + 1) % 3]; }

    void next(Read read = &Scanner::word)
    {
        current_ = current_ == 2 ? 0 : current_ + 1;  // the oldest token makes way
        (scan_.*read)(tokens_[current_]);
    }

    bool refuse(const std::string& what)
    {
        diag_.refuseSource(what);
        return false;
    }
    bool unsupported(const std::string& what)
    {
        diag_.unsupported(what);
        return false;
    }
    bool noEntity() { return refuse("No entity found"); }
    bool noArchitecture() { return refuse("No architecture found"); }

    static std::string unitBeforeEntity(const std::string& word)
    {
        if (word == "PACKAGE") return "package before the entity";
        if (word == "CONFIGURATION") return "configuration before the entity";
        if (word == "CONTEXT") return "context declaration before the entity";
        return "";
    }

    // The library, use and context clauses before the entity, rebuilt: words
    // upper-cased, one blank per white-space character, commas kept, each
    // clause ended by ";" and a line break.
    bool contextClause()
    {
        d_.contextClause = item();
        next(&Scanner::clauseToken);
        std::string word1 = d_.contextClause, word2;  // the last two words, newest first
        while (item() != "ENTITY"sv && item() != "ARCHITECTURE"sv && !item().empty()) {
            if (item() == "PACKAGE"sv || item() == "CONFIGURATION"sv) return unsupported(unitBeforeEntity(item()));
            if (item() == "IS"sv && word2 == "CONTEXT"sv) return unsupported(unitBeforeEntity(word2));
            if (item() != " "sv && item() != ";"sv) {
                word2 = std::move(word1);
                word1 = item();
            }
            d_.contextClause += item();
            const bool endOfClause = item() == ";"sv;
            next(&Scanner::clauseToken);
            if (endOfClause) d_.contextClause += "\n";
        }
        return true;
    }

    // The names of one declaration, up to its colon; the class keywords are
    // skipped. False when the input ends first. `wordAfterColon`: where a
    // mode word or type follows the colon, the colon and that word are read
    // in one step after a lone name (*wordAfterColon is then set, and the word
    // is the current token), as most port declarations are written.
    bool declarationNames(std::vector<std::string>& names, bool* wordAfterColon = nullptr)
    {
        while (item() != ":"sv) {
            if (item().empty()) return false;
            if (item() != "SIGNAL"sv && item() != "VARIABLE"sv && item() != "CONSTANT"sv) {
                names.push_back(item());
                spellings_.push_back(asWritten());
                if (wordAfterColon && colonThenWord()) {
                    *wordAfterColon = true;
                    return true;
                }
            }
            next();
        }
        return true;
    }

    // The tokens ":" and a word, as two calls of next() would give them, when
    // nothing but white space stands before and after the colon.
    bool colonThenWord()
    {
        std::string& word = tokens_[(current_ + 2) % 3];  // the token before the current one, until this succeeds
        if (!scan_.colonThenWord(word)) return false;
        tokens_[(current_ + 1) % 3].assign(1, ':');
        current_ = (current_ + 2) % 3;
        return true;
    }

    // The current word as the source spells it.
    std::string asWritten() const { return item().front() == '\\' ? item() : scan_.lastWordAsWritten(item().size()); }

    std::vector<std::string> spellings_;  // of the names of the declaration being read

    // A derived name (the port's name and a suffix) cannot be written for an
    // extended identifier.
    bool plainNames(const std::vector<std::string>& names)
    {
        for (const auto& name : names)
            if (name.front() == '\\')
                return unsupported("extended identifier " + name + " in entity " + d_.entityName +
                                   " (give the port or generic a plain name)");
        return true;
    }

    bool genericList()
    {
        next();
        std::vector<std::string> names;
        bool closed = false;
        while (!closed && item() != "PORT"sv && item() != "END"sv) {
            if (!declarationNames(names)) return noArchitecture();
            if (!plainNames(names)) return false;
            const std::string type = scan_.typeText(&closed);
            for (size_t i = 0; i < names.size(); ++i) d_.generics.push_back({names[i], type, spellings_[i]});
            names.clear();
            spellings_.clear();
            next();
        }
        return true;
    }

    // A port without a mode word is an IN port, a BUFFER port an OUT port.
    // A long list is read in two parts at once: this thread reads up to a
    // declaration's end eleven twentieths in while a second thread reads on
    // from there. The second part counts only where this thread's reading ends a
    // declaration exactly at that point, the state the second one started
    // from; otherwise this thread reads on by itself and the second part's
    // work is dropped.
    bool portList()
    {
        if (entityEnd_ != std::string::npos && entityEnd_ > scan_.position())
            reserveForPorts(d_, scan_.text().substr(scan_.position(), entityEnd_ - scan_.position()));
        std::unique_ptr<PortListPart> second = startSecondPart();
        next();
        bool stopped = false;
        const bool ok = portDeclarations(second ? second->start : std::string::npos, &stopped,
                                         second ? &second->cancelled : nullptr);
        if (second) {
            if (!stopped) second->cancelled = true;
            second->reading.join();
            if (stopped && !second->finished) {
                // The second thread could not do its part: read it here.
                next();
                if (!portDeclarations()) return false;
            } else if (stopped && !takeOver(*second)) {
                return false;
            }
        }
        if (second) keepUntilTheNextList(std::move(second));
        if (!ok) return false;
        diag_.progress("...");
        return true;
    }

    // The port declarations from the current token on, until the list
    // closes, END comes or the input ends; false after a refusal. A
    // declaration that ends at offset `stopAt` stops the reading there
    // (*stopped is set) before its next token is read; once the reading has
    // passed `stopAt`, *cancelOnceBeyond is set.
    bool portDeclarations(size_t stopAt = std::string::npos, bool* stopped = nullptr,
                          std::atomic<bool>* cancelOnceBeyond = nullptr, const std::atomic<bool>* cancelled = nullptr)
    {
        std::vector<std::string> names;
        bool closed = false;
        while (!closed && item() != "END"sv) {
            if (cancelled && cancelled->load(std::memory_order_relaxed)) return false;
            bool wordRead = false;
            if (!declarationNames(names, &wordRead)) return noArchitecture();
            if (!plainNames(names)) return false;
            if (!wordRead) next();  // the mode word, or the first word of the type
            PortMode mode = PortMode::In;
            std::string typeWord;
            if (item() == "IN"sv || item() == "OUT"sv || item() == "INOUT"sv || item() == "BUFFER"sv) {
                mode = item() == "IN"sv ? PortMode::In : item() == "INOUT"sv ? PortMode::Inout : PortMode::Out;
            } else if (item() == "LINKAGE"sv) {
                diag_.problem("Unsupported port mode LINKAGE in entity", d_.entityName);
                return false;
            } else if (item().empty()) {
                return noArchitecture();
            } else {
                typeWord = item();
            }
            std::string type = scan_.typeText(&closed);
            if (!typeWord.empty()) type = "  " + typeWord + (type.empty() ? "" : type.substr(1));
            if (type.capacity() > std::string().capacity()) typesAhead_.after(type.data());
            const size_t listIndex = mode == PortMode::In ? 0 : mode == PortMode::Out ? 1 : 2;
            auto& list = listIndex == 0 ? d_.inputs : listIndex == 1 ? d_.outputs : d_.inouts;
            for (size_t i = 0; i < names.size(); ++i) {
                const bool lastName = i + 1 == names.size();
                Port& port = list.emplace_back();  // filled in place
                port.name = std::move(names[i]);
                port.mode = mode;
                port.type = lastName ? std::move(type) : type;
                port.spelling = std::move(spellings_[i]);
            }
            listsAhead_[listIndex].after(list);
            names.clear();
            spellings_.clear();
            if (scan_.position() >= stopAt) {
                if (scan_.position() == stopAt && !closed) {
                    *stopped = true;
                    return true;
                }
                if (cancelOnceBeyond) *cancelOnceBeyond = true;
                stopAt = std::string::npos;
            }
            next();
        }
        return true;
    }

    // True where a port list that begins at `from` seems long enough to be
    // read in two parts.
    bool sharesPortListFrom(size_t from) const
    {
        return options_.parallelPortListBytes > 0 && entityEnd_ != std::string::npos &&
               entityEnd_ >= from + options_.parallelPortListBytes && twoCores();
    }

    // The part of a port list that a second thread reads, into a design and
    // a console of its own.
    struct PortListPart {
        size_t start = 0;  // the offset just after the ";" that it starts at
        std::ostringstream console, warnings;
        Diagnostics diag{console, warnings};
        Design d;
        Scanner scan;
        std::unique_ptr<SourceReader> reader;
        std::atomic<bool> cancelled{false};
        bool finished = false;  // read to its end, or to a refusal
        bool ok = false;
        TaskBeside reading;
        // Where this thread's reading throws, the second one stops before
        // what it reads goes.
        ~PortListPart()
        {
            cancelled = true;
            reading.join();
        }
    };

    // The second part of a port list that looks long enough to share, started
    // at the first ";" eleven twentieths into it; nullptr where it is read in
    // one. How fast this thread reads beside the helper depends on the
    // machine and on its page faults: measured on the benchmark's 10,000
    // ports, it read 1.6 times slower than the helper where its records took
    // a fault a page, about as fast on another machine, and once its records
    // were mapped ahead about 1.5 times faster (the helper's heap still
    // grows a page at a time); there the larger part is this thread's, and
    // the smaller one is left to move over after.
    std::unique_ptr<PortListPart> startSecondPart()
    {
        const size_t from = scan_.position();
        if (!sharesPortListFrom(from)) return nullptr;
        const std::string_view rest = scan_.text().substr(from);
        const size_t end = entityEnd_ - from;
        const size_t semicolon = rest.find(';', end * 11 / 20);
        if (semicolon >= end) return nullptr;
        auto part = std::make_unique<PortListPart>();
        part->start = from + semicolon + 1;
        part->scan = scan_.startingAt(part->start);
        part->diag.setSource(diag_.source());
        part->d.entityName = d_.entityName;
        reserveForPorts(part->d, scan_.text().substr(part->start, entityEnd_ - part->start));
        part->reader = std::make_unique<SourceReader>(part->scan, part->diag, part->d, options_);
        PortListPart* p = part.get();
        auto read = [p] {
            try {
                p->reader->next();
                p->ok = p->reader->portDeclarations(std::string::npos, nullptr, nullptr, &p->cancelled);
                p->finished = !p->cancelled;
            } catch (...) {
                p->finished = false;  // left to the first thread
            }
        };
        return part->reading.start(read) ? std::move(part) : nullptr;
    }

    // Leaves a second part that has been read, and its memory, until the
    // next port list read in two parts (or the process's end): freeing its
    // records, and the memory that its thread mapped (which the system then
    // unmaps on both processors), took a third of a millisecond on 10,000
    // ports, on the way of the analysis.
    static void keepUntilTheNextList(std::unique_ptr<PortListPart> part)
    {
        static std::atomic<PortListPart*> kept{nullptr};
        delete kept.exchange(part.release());
    }

    // Goes on from where the second part ended, with its ports after this
    // part's and its console lines after this part's. Its result.
    bool takeOver(PortListPart& part)
    {
        auto append = [](std::vector<Port>& to, std::vector<Port>& from) {
            if (to.capacity() - to.size() >= from.size()) mapForWriting(to.data() + to.size(), from.size() * sizeof(Port));
            to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
        };
        // The outputs on the other thread, the inputs and INOUTs here: about
        // half the records each, moved from the other processor's memory.
        std::exception_ptr outputsFailed;
        TaskBeside outputs;
        const bool beside = outputs.start([&] {
            try {
                append(d_.outputs, part.d.outputs);
            } catch (...) {
                outputsFailed = std::current_exception();  // out of memory: rethrown here
            }
        });
        if (!beside) append(d_.outputs, part.d.outputs);
        append(d_.inputs, part.d.inputs);
        append(d_.inouts, part.d.inouts);
        outputs.join();
        if (outputsFailed) std::rethrow_exception(outputsFailed);
        diag_.progress(part.console.str());
        scan_.continueFrom(part.scan);
        for (size_t i = 0; i < 3; ++i) tokens_[i] = std::move(part.reader->tokens_[i]);
        current_ = part.reader->current_;
        return part.ok;
    }

    bool entity()
    {
        next();
        if (item().empty()) return noEntity();
        d_.entityName = item();
        d_.entitySpelling = asWritten();
        diag_.progress("Analysis of entity - " + d_.entityName + " ");
        next();  // IS
        next();
        if (item() == "END"sv) {
            next();
            diag_.progress(item() + "konec");
        } else {
            if (item() == "GENERIC"sv && !genericList()) return false;
            if (item() == "PORT"sv && !portList()) return false;
            if (!entityDeclarativePart()) return false;
        }
        diag_.progress(" Done\n");
        return true;
    }

    // What the entity declares after its ports, up to its END. Constants,
    // types, subtypes, aliases, attribute declarations and use clauses are
    // carried into the copies' architectures, where the body may use them;
    // anything else is refused, never read as a port.
    bool entityDeclarativePart()
    {
        while (item() != "END"sv) {
            if (item().empty()) return noArchitecture();
            if (item() == "BEGIN"sv)
                return unsupported("statement part of entity " + d_.entityName +
                                   " (move its statements into the architecture)");
            const std::string keyword = item();
            const bool carried = keyword == "CONSTANT"sv || keyword == "TYPE"sv || keyword == "SUBTYPE"sv ||
                                 keyword == "ALIAS"sv || keyword == "USE"sv || keyword == "ATTRIBUTE"sv;
            if (!carried)
                return unsupported(lowerCase(keyword) + " declaration in entity " + d_.entityName +
                                   " (move it into the architecture)");
            const std::string rest = scan_.declarationText();
            if (keyword == "ATTRIBUTE"sv && setsAttribute(rest))
                return unsupported("attribute " + firstWord(rest) + " set in entity " + d_.entityName +
                                   " (move it into the architecture)");
            d_.entityDeclarations += "   " + keyword + rest + "\n";
            next();
        }
        return true;
    }

    static std::string firstWord(const std::string& text)
    {
        size_t a = 0;
        while (a < text.size() && (text[a] == ' ' || text[a] == '\t' || text[a] == '\n')) ++a;
        size_t b = a;
        while (b < text.size() && (std::isalnum(static_cast<unsigned char>(text[b])) || text[b] == '_')) ++b;
        std::string w = text.substr(a, b - a);
        for (char& c : w) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return w;
    }
    // "<name> of ..." after ATTRIBUTE: the attribute set on an item, not declared.
    static bool setsAttribute(const std::string& rest)
    {
        const std::string name = firstWord(rest);
        const size_t after = rest.find_first_not_of(" \t\n", rest.find_first_not_of(" \t\n") + name.size());
        return after != std::string::npos && firstWord(rest.substr(after)) == "OF";
    }

    // Everything up to the architecture is skipped; a design unit there would
    // be lost, or the architecture would belong to another entity. ";" is a
    // token here, so that 'end; entity' is not taken for 'end entity'.
    bool skipToArchitecture()
    {
        while (item() != "ARCHITECTURE"sv) {
            if (item().empty()) return noArchitecture();
            const bool unitHead = prev() != "END"sv;
            if (item() == "ENTITY"sv && unitHead) return unsupported("second entity before the architecture");
            if (item() == "PACKAGE"sv && unitHead) return unsupported("package between the entity and the architecture");
            if (item() == "CONFIGURATION"sv && unitHead)
                return unsupported("configuration between the entity and the architecture");
            if (item() == "IS"sv && prevPrev() == "CONTEXT"sv)
                return unsupported("context declaration between the entity and the architecture");
            if ((item() == "LIBRARY"sv || item() == "USE"sv || item() == "CONTEXT"sv) && prev() != "END"sv) {
                if (!clauseBeforeArchitecture()) return false;
                continue;
            }
            next(&Scanner::wordOrSemicolon);
        }
        return true;
    }

    // A library, use or context clause of the architecture: every generated
    // file repeats it after the clauses read before the entity.
    bool clauseBeforeArchitecture()
    {
        std::string clause = item();
        for (next(&Scanner::clauseToken); item() != ";"sv; next(&Scanner::clauseToken)) {
            if (item().empty()) return noArchitecture();
            if (item() == "IS"sv) return unsupported("context declaration between the entity and the architecture");
            if (item() == " "sv) continue;
            clause += item() == ","sv ? "," : " " + item();
        }
        d_.contextClause += clause + ";\n";
        next(&Scanner::wordOrSemicolon);
        return true;
    }

    // The head is read by position: the architecture's name, OF, the entity's
    // name, IS; the rest of the file is the body.
    bool architecture()
    {
        next();
        const std::string name = item();
        if (!item().empty()) d_.architectureSpelling = asWritten();
        next();
        next();
        if (item().empty()) return noArchitecture();
        if (item() != d_.entityName) {
            diag_.problem("Architecture " + name + " of " + item() + " is not an architecture of entity " +
                              d_.entityName + " in input file",
                          diag_.source());
            return false;
        }
        diag_.progress("Analysis of architecture " + item() + " ...");
        next();
        if (item().empty()) return noArchitecture();
        const SourceSpan body = scan_.restOfFile();
        diag_.progress(" Done\n");
        const BodyScan scan = scanBody(body.text, name, &scan_.prescanned());
        if (!scan.unitAfterBody.empty()) return unsupported(scan.unitAfterBody);
        if (scan.unterminatedString || scan.unterminatedComment) {
            diag_.problem(std::string("Unterminated ") + (scan.unterminatedString ? "string literal" : "comment") +
                              " in the architecture of input file",
                          diag_.source());
            return false;
        }
        if (!cutClosingEnd(body, scan, d_.body)) return refuse("Can't find the end of architecture");
        // A body that names its architecture (an attribute of it, say) keeps
        // the name in the copies.
        if (scan.namesArchitecture < scan.lastEnd) d_.architectureName = name;
        d_.usedUnits = scan.usedUnits;
        return true;
    }
};

}  // namespace

bool analyse(Scanner& scanner, Diagnostics& diagnostics, Design& design, const AnalysisOptions& options)
{
    return SourceReader(scanner, diagnostics, design, options).read();
}

}  // namespace velmorn
