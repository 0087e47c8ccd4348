#include "support/diagnostics.h"

namespace velmorn {

void Diagnostics::problem(std::string_view what, std::string_view subject, bool lineBreak)
{
    console_ << what << " - " << subject << " !";
    if (lineBreak) console_ << '\n';
}

void Diagnostics::refuseSource(std::string_view what)
{
    console_ << what << " in input file - " << source_ << " !" << '\n';
}

void Diagnostics::unsupported(std::string_view what)
{
    console_ << "Unsupported " << what << " in input file - " << source_ << " !" << '\n';
}

void Diagnostics::error(std::string_view text) { warnings_ << "velmorn: " << text << '\n'; }
void Diagnostics::warning(std::string_view text) { warnings_ << "velmorn: warning: " << text << '\n'; }
void Diagnostics::info(std::string_view text) { warnings_ << text << '\n'; }

}  // namespace velmorn
