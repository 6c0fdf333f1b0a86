// Temporary entry point until the simulator lands.
int main() {
    return 1;
}
