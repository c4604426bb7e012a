// Keeps the shell library non-empty while it has no windows of its own.
namespace velmora {
int ShellPlaceholder() {
    return 0;
}
}  // namespace velmora
