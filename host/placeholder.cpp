// Temporary translation unit so the host library has a source while its folders fill in.
namespace sqhost {}
