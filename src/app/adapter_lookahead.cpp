#include "app/adapter_lookahead.h"

#include <memory>
#include <system_error>
#include <utility>

namespace tavrin {

AdapterLookahead::AdapterLookahead(std::function<FoundAdapter()> search,
                                   const ThreadStart& startThread)
    : search_(std::move(search)) {
  // The thread owns what it uses, so an answer nobody asks for keeps nothing
  // of ours alive or waiting at the end.
  auto answer = std::make_shared<std::promise<FoundAdapter>>();
  early_ = answer->get_future();
  try {
    startThread([answer, search = search_] {
      try {
        answer->set_value(search());
      } catch (...) {
        answer->set_exception(std::current_exception());
      }
    });
  } catch (const std::system_error&) {
    early_ = {};  // the search waits for the question
  }
}

bool AdapterLookahead::GetActiveAdapter(std::wstring& name, std::wstring& guid, std::wstring& ip) {
  FoundAdapter found = early_.valid() ? early_.get() : search_();
  name = std::move(found.name);
  guid = std::move(found.guid);
  ip = std::move(found.ip);
  return found.found;
}

}  // namespace tavrin
