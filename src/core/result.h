#pragma once

#include <QString>

#include <concepts>
#include <optional>
#include <type_traits>
#include <utility>

// Why a reader gives no value, on its way into a Result of any value type. Made by failure():
//
//     if (data.isEmpty())
//         return failure(tr("The file is empty."));
template <typename E> struct Failure
{
    E error;
};

template <typename E> Failure<std::decay_t<E>> failure(E &&error)
{
    return {std::forward<E>(error)};
}

// What a reader gives back: the value it read, or why there is none, never both. Every reader of
// the program returns one (pictures, metafiles, the settings line and file, folders, the maker's
// library, the embedded artwork and sounds); writers return bool and keep an error string, as
// QSaveFile does.
//
//     Result<Picture> loaded = loadPicture(path);
//     if (!loaded)
//         return report(loaded.error());
//     show(*loaded);
//
// `E` is the error: a description by default, or a type that carries more (what was read before
// the failure, which kind of failure it was).
template <typename T, typename E = QString> class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_value(std::move(value))
    {
    }

    template <std::convertible_to<E> F>
    Result(Failure<F> failure)
        : m_error(std::move(failure.error))
    {
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

    // The value, or `fallback` where there is none.
    T valueOr(T fallback) const & { return m_value ? *m_value : std::move(fallback); }
    T valueOr(T fallback) && { return m_value ? std::move(*m_value) : std::move(fallback); }

    // The error; default-constructed where ok().
    const E &error() const { return m_error; }

private:
    std::optional<T> m_value;
    E m_error{};
};
