// sqhost: the command-line program that runs the stand-in host.
int main() { return 0; }
