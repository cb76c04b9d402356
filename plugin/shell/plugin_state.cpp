// The plug-in state record and its accessor.
namespace sq {}
