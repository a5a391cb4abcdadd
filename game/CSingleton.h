#pragma once
// Gives a class the role of the one process-wide instance: created at the first call
// of Instance() and destroyed at process exit, in reverse order of creation among the
// process-wide objects (the rule for function-local statics).
//
// The served class makes its constructor non-public and befriends CSingleton<T>.

template <class T>
class CSingleton {
public:
    virtual ~CSingleton() = default;
    CSingleton(const CSingleton&) = delete;
    CSingleton& operator=(const CSingleton&) = delete;

    static T& Instance()
    {
        static T instance;
        return instance;
    }

protected:
    CSingleton() = default;
};
