#include "platform/MessagePresenter.h"

#include <cstdio>

namespace platform {
namespace {

StderrPresenter& DefaultPresenter()
{
    static StderrPresenter presenter;
    return presenter;
}

IMessagePresenter* g_presenter = nullptr;
thread_local IMessagePresenter* t_presenter = nullptr;

}  // namespace

IMessagePresenter& Presenter()
{
    if (t_presenter)
        return *t_presenter;
    return g_presenter ? *g_presenter : DefaultPresenter();
}

void SetPresenter(IMessagePresenter* presenter)
{
    g_presenter = presenter;
}

void StderrPresenter::ShowText(std::string_view text)
{
    std::fprintf(stderr, "Verdax: %.*s\n", static_cast<int>(text.size()), text.data());
}

void StderrPresenter::ShowMessage(int id, std::string_view utf8Text)
{
    std::fprintf(stderr, "Verdax: [%d] %.*s\n", id, static_cast<int>(utf8Text.size()), utf8Text.data());
}

ScopedPresenter::ScopedPresenter(IMessagePresenter& presenter) : previous_(g_presenter)
{
    g_presenter = &presenter;
}

ScopedPresenter::~ScopedPresenter()
{
    g_presenter = previous_;
}

ScopedThreadPresenter::ScopedThreadPresenter(IMessagePresenter& presenter) : previous_(t_presenter)
{
    t_presenter = &presenter;
}

ScopedThreadPresenter::~ScopedThreadPresenter()
{
    t_presenter = previous_;
}

}  // namespace platform
