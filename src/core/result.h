#pragma once

#include <QString>

#include <optional>
#include <utility>

// What a reader gives back: the value it read, or why there is none, never both. Every reader of
// the program returns one (pictures, metafiles, the settings line and file, folders, the maker's
// library); writers return bool and keep an error string, as QSaveFile does.
//
//     Result<Picture> loaded = loadPicture(path);
//     if (!loaded)
//         return report(loaded.error());
//     show(*loaded);
//
// `E` is the error: a description by default, or a type that carries more (what was read before
// the failure, which kind of failure it was).
template <typename T, typename E = QString>
class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_value(std::move(value))
    {
    }

    static Result failure(E error)
    {
        Result result;
        result.m_error = std::move(error);
        return result;
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    // The value; only where ok().
    const T &value() const & { return *m_value; }
    T &value() & { return *m_value; }
    T &&value() && { return std::move(*m_value); }
    const T &operator*() const & { return *m_value; }
    T &&operator*() && { return std::move(*m_value); }
    const T *operator->() const { return &*m_value; }

    // The error; default-constructed where ok().
    const E &error() const { return m_error; }

private:
    Result() = default;

    std::optional<T> m_value;
    E m_error{};
};
