# The two set-up commands of the README, plus the pieces they are made of.
#   make demo   ferrox on the simulated board (a short CLI capture without a display);
#               builds the three programs and what installing them needs
#   make test   sanitizer build, every test
#   make bench  Release build, the benchmark programs
RELEASE_DIR ?= build
TEST_DIR    ?= build-test
JOBS        ?= $(shell nproc)

.PHONY: demo test bench bootstrap release programs test-build clean print-install-targets
PROGRAMS = ferrox ferrox-cli ferrox-board
# What `cmake --install` and cpack need beyond the programs: the manual
# pages and the changelog, compressed at build time.
INSTALL_TARGETS = $(PROGRAMS) ferrox_compressed_docs

bootstrap:
	@scripts/bootstrap

CONFIGURE_RELEASE = cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release

release: bootstrap
	$(CONFIGURE_RELEASE)
	cmake --build $(RELEASE_DIR) -j $(JOBS)

programs: bootstrap
	$(CONFIGURE_RELEASE)
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target $(INSTALL_TARGETS)

test-build: bootstrap
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFERROX_SANITIZE=ON -DFERROX_BENCHMARKS=ON
	cmake --build $(TEST_DIR) -j $(JOBS)

test: test-build
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

demo: programs
	scripts/demo $(RELEASE_DIR)

bench: release
	scripts/bench $(RELEASE_DIR)

# For the install test, which builds what `make demo` builds.
print-install-targets:
	@echo $(INSTALL_TARGETS)

clean:
	rm -rf $(RELEASE_DIR) $(TEST_DIR)
